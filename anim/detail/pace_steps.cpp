// pace_steps: the arithmetic of the timed advances.
#include "anim/detail/pace_steps.h"

#include <algorithm>  // Required for: std::max()

namespace anim::detail {

long long spent_ms(const anim_pace& pace, int ms)
{
    return std::max(pace.elapsed_ms, 0) + static_cast<long long>(std::max(ms, 0));
}

long long due_steps(anim_pace& pace, int ms)
{
    if (pace.step_ms <= 0) return 0;
    const long long spent = spent_ms(pace, ms);
    pace.elapsed_ms = static_cast<int>(spent % pace.step_ms);
    return spent / pace.step_ms;
}

}  // namespace anim::detail
