// blink_objects: the test programs' cross-fade and runner.
#include "blink_objects.h"

#include "anim_programs.h"
#include "path_list.h"

namespace fade = anim_programs::blink_test;
namespace runner = anim_programs::blink_sprite_test;

complex_surface* create_cross_fade(const std::string& folder, int step)
{
    const std::string backdrop = folder + fade::kBackdrop;
    const std::vector<std::string> fronts = in_folder(folder, fade::kFronts);
    return create_complex_surface(backdrop.c_str(), path_list(fronts).data(), 1, step < 0 ? fade::kStep : step, 0, 0,
                                  fade::key::kRed, fade::key::kGreen, fade::key::kBlue);
}

sprite* create_runner(const std::string& folder)
{
    const std::vector<std::string> frames = in_folder(folder, runner::kRunner);
    return create_sprite(path_list(frames).data(), 0, runner::runner_at::kX, runner::runner_at::kY, fade::key::kRed,
                         fade::key::kGreen, fade::key::kBlue);
}
