// soft_picture: coverage from sub-pixels, laid over with the usual "over".
#include "soft_picture.h"

#include "png_writer.h"

#include <cmath>
#include <filesystem>
#include <fstream>

namespace assets {

SoftPicture::SoftPicture(int w, int h) : w_(w), h_(h), rgba_(4 * static_cast<size_t>(w) * static_cast<size_t>(h), 0.0)
{
}

void SoftPicture::cover(const Canvas& big, Rgb key, int left, int top, double opacity)
{
    const int w = big.width() / kSubPixels, h = big.height() / kSubPixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (left + x < 0 || left + x >= w_ || top + y < 0 || top + y >= h_) continue;
            double sum[3] = {0, 0, 0};
            int covered = 0;
            for (int sy = 0; sy < kSubPixels; ++sy)
                for (int sx = 0; sx < kSubPixels; ++sx) {
                    const Rgb c = big.get(x * kSubPixels + sx, y * kSubPixels + sy);
                    if (c.r == key.r && c.g == key.g && c.b == key.b) continue;
                    sum[0] += c.r;
                    sum[1] += c.g;
                    sum[2] += c.b;
                    ++covered;
                }
            if (covered == 0) continue;
            const double alpha = opacity * covered / (kSubPixels * kSubPixels);
            double* p =
                &rgba_[4 * (static_cast<size_t>(top + y) * static_cast<size_t>(w_) + static_cast<size_t>(left + x))];
            const double under = p[3] * (1 - alpha), total = alpha + under;
            for (int i = 0; i < 3; ++i) p[i] = (sum[i] / covered / 255 * alpha + p[i] * under) / total;
            p[3] = total;
        }
}

bool SoftPicture::save(const std::string& path) const
{
    std::vector<uint16_t> samples;
    samples.reserve(rgba_.size());
    for (const double value : rgba_) samples.push_back(static_cast<uint16_t>(std::lround(value * 255)));
    png_writer::PngForm rgba;
    rgba.colour_type = png_writer::kRgba;
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (error || !(out << png_writer::encode_png(w_, h_, rgba, samples))) {
        SDL_SetError("cannot write %s", path.c_str());
        return false;
    }
    return true;
}

}  // namespace assets
