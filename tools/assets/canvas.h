// canvas: a small software rasteriser for the asset tool.
//
// Draws hard-edged shapes (the images are colour-keyed, so there is no
// anti-aliasing to leave fringes of the key colour) into a 24-bit surface and
// saves it as a BMP that SDL's loader reads; soft_picture makes pictures
// with soft edges of canvases drawn larger.
#ifndef ANIM_TOOLS_CANVAS_H
#define ANIM_TOOLS_CANVAS_H

#include <SDL.h>

#include <string>

namespace assets {

struct Rgb {
    Uint8 r, g, b;
};

// Colour at t in [0, 1] between a and b.
Rgb mix(Rgb a, Rgb b, double t);

class Canvas {
public:
    // A w x h 24-bit canvas filled with `background`; throws
    // std::runtime_error, with SDL's reason, when memory runs out.
    Canvas(int w, int h, Rgb background);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    int width() const { return w_; }
    int height() const { return h_; }
    Rgb get(int x, int y) const;
    void set(int x, int y, Rgb c);  // ignored outside the canvas
    void fill_rect(int x, int y, int w, int h, Rgb c);
    // Rows y0 .. y1 shade from `top` to `bottom`.
    void vertical_gradient(int y0, int y1, Rgb top, Rgb bottom);
    void fill_circle(double cx, double cy, double radius, Rgb c);
    void fill_ellipse(double cx, double cy, double rx, double ry, Rgb c);
    // A segment with round ends, `width` pixels thick.
    void thick_line(double x0, double y0, double x1, double y1, double width, Rgb c);
    // Filled polygon of n corners (even-odd rule at pixel centres).
    void fill_polygon(const double* xs, const double* ys, int n, Rgb c);
    // Fills the columns of a ridge line: each column x from `heights[x]` down
    // to the bottom of the canvas.
    void fill_below(const int* heights, Rgb c);

    // Writes the canvas as a 24-bit BMP at `path`, making its folder; false,
    // with the reason naming the path in SDL_GetError(), when it cannot.
    bool save(const std::string& path) const;

private:
    SDL_Surface* surface_;
    int w_;
    int h_;
};

}  // namespace assets

#endif
