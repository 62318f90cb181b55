// canvas: hard-edged shapes on a 24-bit surface.
#include "canvas.h"

#include <algorithm>   // Required for: std::min(), std::max(), std::sort()
#include <cmath>       // Required for: std::floor(), std::ceil(), std::sqrt()
#include <filesystem>  // Required for: std::filesystem::create_directories()
#include <stdexcept>   // Required for: std::runtime_error
#include <string>
#include <vector>

namespace assets {

namespace {

Uint8 lerp(Uint8 a, Uint8 b, double t)
{
    return static_cast<Uint8>(std::lround(a + (b - a) * std::clamp(t, 0.0, 1.0)));
}

// Squared distance from (px, py) to the segment (x0, y0)-(x1, y1).
double segment_distance_sq(double px, double py, double x0, double y0, double x1, double y1)
{
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double len_sq = dx * dx + dy * dy;
    double t = len_sq > 0 ? ((px - x0) * dx + (py - y0) * dy) / len_sq : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = px - (x0 + t * dx);
    const double ey = py - (y0 + t * dy);
    return ex * ex + ey * ey;
}

}  // namespace

Rgb mix(Rgb a, Rgb b, double t)
{
    return {lerp(a.r, b.r, t), lerp(a.g, b.g, t), lerp(a.b, b.b, t)};
}

Canvas::Canvas(int w, int h, Rgb background) : w_(w), h_(h)
{
    // Bytes in memory are blue, green, red: the layout of a 24-bit BMP.
    surface_ = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0xff0000, 0x00ff00, 0x0000ff, 0);
    if (surface_ == nullptr) throw std::runtime_error(std::string("cannot make a canvas: ") + SDL_GetError());
    fill_rect(0, 0, w, h, background);
}

Canvas::~Canvas()
{
    SDL_FreeSurface(surface_);
}

Rgb Canvas::get(int x, int y) const
{
    const auto* p = static_cast<const Uint8*>(surface_->pixels) + static_cast<ptrdiff_t>(y) * surface_->pitch +
                    static_cast<ptrdiff_t>(x) * 3;
    return {p[2], p[1], p[0]};
}

void Canvas::set(int x, int y, Rgb c)
{
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
    auto* p = static_cast<Uint8*>(surface_->pixels) + static_cast<ptrdiff_t>(y) * surface_->pitch +
              static_cast<ptrdiff_t>(x) * 3;
    p[0] = c.b;
    p[1] = c.g;
    p[2] = c.r;
}

void Canvas::fill_rect(int x, int y, int w, int h, Rgb c)
{
    for (int j = std::max(y, 0); j < std::min(y + h, h_); ++j)
        for (int i = std::max(x, 0); i < std::min(x + w, w_); ++i) set(i, j, c);
}

void Canvas::vertical_gradient(int y0, int y1, Rgb top, Rgb bottom)
{
    for (int y = y0; y <= y1; ++y) {
        const double t = y1 > y0 ? static_cast<double>(y - y0) / (y1 - y0) : 0.0;
        fill_rect(0, y, w_, 1, mix(top, bottom, t));
    }
}

void Canvas::fill_circle(double cx, double cy, double radius, Rgb c)
{
    fill_ellipse(cx, cy, radius, radius, c);
}

void Canvas::fill_ellipse(double cx, double cy, double rx, double ry, Rgb c)
{
    if (rx <= 0 || ry <= 0) return;
    const int y0 = static_cast<int>(std::floor(cy - ry));
    const int y1 = static_cast<int>(std::ceil(cy + ry));
    const int x0 = static_cast<int>(std::floor(cx - rx));
    const int x1 = static_cast<int>(std::ceil(cx + rx));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const double dx = (x + 0.5 - cx) / rx;
            const double dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0) set(x, y, c);
        }
}

void Canvas::thick_line(double x0, double y0, double x1, double y1, double width, Rgb c)
{
    const double r = width / 2;
    const int left = static_cast<int>(std::floor(std::min(x0, x1) - r));
    const int right = static_cast<int>(std::ceil(std::max(x0, x1) + r));
    const int top = static_cast<int>(std::floor(std::min(y0, y1) - r));
    const int bottom = static_cast<int>(std::ceil(std::max(y0, y1) + r));
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            if (segment_distance_sq(x + 0.5, y + 0.5, x0, y0, x1, y1) <= r * r) set(x, y, c);
}

void Canvas::fill_polygon(const double* xs, const double* ys, int n, Rgb c)
{
    for (int y = 0; y < h_; ++y) {
        const double py = y + 0.5;
        std::vector<double> crossings;
        for (int i = 0, j = n - 1; i < n; j = i++) {
            if ((ys[i] > py) != (ys[j] > py))
                crossings.push_back(xs[i] + (py - ys[i]) * (xs[j] - xs[i]) / (ys[j] - ys[i]));
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t k = 0; k + 1 < crossings.size(); k += 2)
            for (int x = static_cast<int>(std::ceil(crossings[k] - 0.5)); x + 0.5 < crossings[k + 1]; ++x) set(x, y, c);
    }
}

void Canvas::fill_below(const int* heights, Rgb c)
{
    for (int x = 0; x < w_; ++x) fill_rect(x, heights[x], 1, h_ - heights[x], c);
}

bool Canvas::save(const std::string& path) const
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    if (error) {
        SDL_SetError("cannot make the folder of %s: %s", path.c_str(), error.message().c_str());
        return false;
    }
    if (SDL_SaveBMP(surface_, path.c_str()) == 0) return true;
    const std::string reason = SDL_GetError();
    SDL_SetError("cannot write %s: %s", path.c_str(), reason.c_str());
    return false;
}

}  // namespace assets
