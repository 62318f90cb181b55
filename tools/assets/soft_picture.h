// soft_picture: pictures with soft (anti-aliased) edges and translucent
// parts, for the asset tool.
//
// Shapes are drawn kSubPixels times larger on a canvas of a key colour;
// each pixel of the picture takes as alpha the share of its sub-pixels that
// something covers, and as colour their mean. The picture is saved as an
// 8-bit RGBA PNG.
#ifndef ANIM_TOOLS_SOFT_PICTURE_H
#define ANIM_TOOLS_SOFT_PICTURE_H

#include "canvas.h"

#include <string>
#include <vector>

namespace assets {

// Sub-pixels a side of each pixel of a soft picture.
constexpr int kSubPixels = 4;

class SoftPicture {
public:
    // A w x h picture, transparent.
    SoftPicture(int w, int h);

    // Lays `big` (drawn kSubPixels times larger, `key` where nothing is) over
    // the picture, its top left corner at pixel (left, top), its coverage
    // times `opacity`.
    void cover(const Canvas& big, Rgb key, int left, int top, double opacity = 1.0);

    // Writes the picture as an RGBA PNG at `path`, making its folder; false,
    // with the reason naming the path in SDL_GetError(), when it cannot.
    bool save(const std::string& path) const;

private:
    int w_, h_;
    std::vector<double> rgba_;  // straight colour and alpha, 0 to 1
};

}  // namespace assets

#endif
