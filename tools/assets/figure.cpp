// figure: running and standing children.
#include "figure.h"

#include <algorithm>
#include <cmath>

namespace assets {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr Rgb kEye{30, 30, 40};

// Head, hair (or beanie) and scarf around a neck at (x, y), facing right.
void draw_head(Pen& pen, double x, double y, const Outfit& o, double scarf_wave)
{
    pen.line(x - 3, y + 1, x + 3, y + 1, 3, o.scarf);
    pen.line(x - 3, y + 1, x - 8, y + 3 + scarf_wave, 2.5, o.scarf);
    pen.circle(x + 2, y - 7, 6, o.skin);
    if (o.beanie) {
        pen.ellipse(x + 1.5, y - 10.5, 6.2, 3.8, o.scarf);
        pen.line(x - 4, y - 8.5, x + 7.5, y - 8.5, 2, o.top);
        pen.circle(x - 1, y - 15, 2, o.top);
        pen.circle(x - 3.5, y - 6, 2, o.hair);
    } else {
        pen.ellipse(x + 1, y - 10.5, 5.5, 3, o.hair);
        pen.circle(x - 2.5, y - 8, 2.5, o.hair);
    }
    pen.dot(x + 5, y - 7.5, kEye);
}

}  // namespace

void Pen::line(double x0, double y0, double x1, double y1, double width, Rgb colour)
{
    c_.thick_line(left_ + x0 * scale_, top_ + y0 * scale_, left_ + x1 * scale_, top_ + y1 * scale_,
                  std::max(1.0, width * scale_), colour);
}

void Pen::ellipse(double cx, double cy, double rx, double ry, Rgb colour)
{
    c_.fill_ellipse(left_ + cx * scale_, top_ + cy * scale_, rx * scale_, ry * scale_, colour);
}

void Pen::dot(double x, double y, Rgb colour)
{
    c_.set(static_cast<int>(left_ + x * scale_), static_cast<int>(top_ + y * scale_), colour);
}

void draw_runner(Pen& pen, double t, const Outfit& o)
{
    const double phase = 2 * kPi * t;
    // The body rises a little as each foot pushes off.
    const double bob = -1.5 * std::fabs(std::sin(phase));
    const double hip_x = 19, hip_y = 30 + bob;
    const double neck_x = 22, neck_y = 17 + bob;

    // A leg: the thigh swings around the hip; the knee folds most while the
    // foot travels forward in the air.
    auto leg = [&](double leg_phase, Rgb cloth) {
        const double thigh = 0.65 * std::sin(leg_phase);
        const double fold = 0.25 + 1.1 * std::max(0.0, std::cos(leg_phase));
        const double knee_x = hip_x + 9 * std::sin(thigh);
        const double knee_y = hip_y + 9 * std::cos(thigh);
        const double shin = thigh - fold;
        const double foot_x = knee_x + 9 * std::sin(shin);
        const double foot_y = knee_y + 9 * std::cos(shin);
        pen.line(hip_x, hip_y, knee_x, knee_y, 4.5, cloth);
        pen.line(knee_x, knee_y, foot_x, foot_y, 4, cloth);
        pen.line(foot_x - 1, foot_y, foot_x + 3, foot_y, 3, o.shoe);
    };
    // An arm swings against the leg on its side, bent at the elbow.
    auto arm = [&](double arm_phase, Rgb cloth) {
        const double upper = -1.0 * std::sin(arm_phase);
        const double elbow_x = neck_x + 7 * std::sin(upper);
        const double elbow_y = neck_y + 2 + 7 * std::cos(upper);
        const double fore = upper + 1.2;
        const double hand_x = elbow_x + 6 * std::sin(fore);
        const double hand_y = elbow_y + 6 * std::cos(fore);
        pen.line(neck_x, neck_y + 2, elbow_x, elbow_y, 3.5, cloth);
        pen.line(elbow_x, elbow_y, hand_x, hand_y, 3, o.skin);
    };

    // Far limbs first, then the body and head, then the near limbs.
    leg(phase + kPi, o.trousers_far);
    arm(phase, o.top_far);
    pen.line(hip_x, hip_y, neck_x, neck_y + 2, 8, o.top);
    draw_head(pen, neck_x, neck_y, o, std::sin(phase));
    leg(phase, o.trousers);
    arm(phase + kPi, o.top);
}

void draw_standing(Pen& pen, int breath, const Outfit& o)
{
    const double rise = breath == 1 ? -0.8 : 0.0;
    const double hip_x = 20, hip_y = 31;
    const double neck_x = 21, neck_y = 17 + rise;
    const double spread = breath == 1 ? 1.2 : 0.0;

    pen.line(hip_x - 1, hip_y, hip_x - 2, 46, 4.5, o.trousers_far);
    pen.line(hip_x - 3.5, 47, hip_x + 1, 47, 3, o.shoe);
    pen.line(neck_x, neck_y + 2, neck_x - 4 - spread, neck_y + 14, 3.5, o.top_far);
    pen.line(hip_x, hip_y, neck_x, neck_y + 2, 8.5, o.top);
    draw_head(pen, neck_x, neck_y, o, 1.5);
    pen.line(hip_x + 1, hip_y, hip_x + 2, 46, 4.5, o.trousers);
    pen.line(hip_x, 47, hip_x + 5, 47, 3, o.shoe);
    pen.line(neck_x + 1, neck_y + 2, neck_x + 3 + spread, neck_y + 13, 3.5, o.top);
    pen.circle(neck_x + 3.2 + spread, neck_y + 14.5, 1.8, o.skin);
    if (breath == 2) {
        // A puff of warm breath in the cold air, pale blue-grey.
        const Rgb puff{214, 226, 238};
        pen.circle(neck_x + 10, neck_y - 5, 2.2, puff);
        pen.circle(neck_x + 13, neck_y - 6.5, 2.6, puff);
        pen.circle(neck_x + 15.5, neck_y - 4.5, 1.8, puff);
    }
}

}  // namespace assets
