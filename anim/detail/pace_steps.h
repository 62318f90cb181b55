// pace_steps: the arithmetic of every advance_* function (internal to the
// toolkit, not installed).
//
//   spent_ms    the time a pace holds once the time passed is added
//   due_steps   add the time passed to a pace, take out the steps it holds
//   take_steps  take a number of steps, whole cycles at once
#ifndef ANIM_DETAIL_PACE_STEPS_H
#define ANIM_DETAIL_PACE_STEPS_H

#include "anim/pace.h"

namespace anim::detail {

// The time spent since the pace's last step with `ms` added, each counted
// as 0 when it is negative.
long long spent_ms(const anim_pace& pace, int ms);

// Adds `ms` (nothing when it is not positive) to the time the pace has
// spent since its last step and returns the whole step times that holds,
// keeping the remainder in elapsed_ms. A pace without a positive step time
// takes no step and keeps its time as it was.
long long due_steps(anim_pace& pace, int ms);

// Calls step() `steps` times, less whole multiples of `period` when it is
// positive: the steps of an object that every `period` steps brings back to
// where it was.
template <typename Step>
void take_steps(long long steps, long long period, Step step)
{
    if (period > 0) steps %= period;
    for (long long i = 0; i < steps; ++i) step();
}

}  // namespace anim::detail

#endif
