// pace: how an animated object keeps time under the advance_* functions.
//
// Besides its update_* function, which moves an object one step a call,
// every animated object can be advanced by the milliseconds that have
// passed: advance_sprite, advance_complex_blinking, advance_simple_blinking
// (and the two fades), advance_sblink_decor and advance_personnage. Each
// object keeps a pace: the time one of its steps takes, and the time spent
// since its last step. An advance adds the time passed and takes one step
// for each whole step time, keeping the rest for the next call. The steps
// taken so depend on the total time alone: frames of 16 ms and of 33 ms show
// the same picture at the same time, and nothing drifts. A long pause takes
// every step it covers, as many single steps would (whole cycles at once,
// since a whole cycle leaves an object as it was). A step time of 0 or less
// keeps an object still under the advances, as does a frozen sprite or a
// surface with blinking off; the update_* functions never read the pace.
#ifndef ANIM_PACE_H
#define ANIM_PACE_H

// The step time of every new object: one step each 50 ms, 20 steps a
// second.
#define ANIM_DEFAULT_STEP_MS 50

// An animated object's clock. Set the step time with the object's set_*
// function; both fields may also be written directly.
struct anim_pace {
    int step_ms;     // time one step takes, in milliseconds; ANIM_DEFAULT_STEP_MS at creation
    int elapsed_ms;  // time since the last step, 0 .. step_ms-1; 0 at creation
};

#endif
