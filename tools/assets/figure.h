// figure: the children of the pictures, drawn in design units.
//
// A figure is designed in a 40 x 50 box with its feet on row 48; a Pen maps
// that box onto a canvas at any scale, so the same poses serve the 50-pixel
// runner of the test programs and the 35-pixel hero of the scene.
#ifndef ANIM_TOOLS_FIGURE_H
#define ANIM_TOOLS_FIGURE_H

#include "canvas.h"

namespace assets {

// Draws on a canvas in design units: canvas x = left + x * scale.
class Pen {
public:
    Pen(Canvas& canvas, double left, double top, double scale) : c_(canvas), left_(left), top_(top), scale_(scale) {}
    void line(double x0, double y0, double x1, double y1, double width, Rgb colour);
    void ellipse(double cx, double cy, double rx, double ry, Rgb colour);
    void circle(double cx, double cy, double r, Rgb colour) { ellipse(cx, cy, r, r, colour); }
    void dot(double x, double y, Rgb colour);

private:
    Canvas& c_;
    double left_, top_, scale_;
};

// The colours a child wears; near and far limbs differ in shade.
struct Outfit {
    Rgb skin, hair, top, top_far, trousers, trousers_far, shoe, scarf;
    bool beanie;  // a knitted hat with a pompom, in the scarf's colour
};

// A child running, at phase `t` in [0, 1) of its stride.
void draw_runner(Pen& pen, double t, const Outfit& outfit);

// A child standing still. `breath` 0: at rest; 1: breathing in (chest up,
// arms a little out); 2: breathing out a puff of warm breath.
void draw_standing(Pen& pen, int breath, const Outfit& outfit);

}  // namespace assets

#endif
