// program_runner: runs a real program under the harness and reads what it did.
#ifndef ANIM_TESTS_PROGRAM_RUNNER_H
#define ANIM_TESTS_PROGRAM_RUNNER_H

#include "support/test_images.h"

#include <string>
#include <utility>
#include <vector>

namespace test_support {

// What the harness does to a run, as settings of the program's environment
// (an empty value unsets a variable); the setters chain:
// RunOptions().quit(5).save("1-5").
struct RunOptions {
    std::vector<std::pair<std::string, std::string>> settings{{"SDL_VIDEODRIVER", "dummy"}};

    RunOptions& set(std::string name, std::string value)
    {
        return settings.emplace_back(std::move(name), std::move(value)), *this;
    }
    // The frame whose poll delivers the quit.
    RunOptions& quit(long frame) { return set("ANIM_HARNESS_QUIT_AT", std::to_string(frame)); }
    // Events queued ahead of the quit ("key,motion").
    RunOptions& queue(std::string names) { return set("ANIM_HARNESS_EVENTS", std::move(names)); }
    // Frames to save as BMP into the work folder ("1-5", "all").
    RunOptions& save(std::string frames) { return set("ANIM_HARNESS_SAVE", std::move(frames)); }
    // The image load to refuse (1: the first).
    RunOptions& refuse_load(long k) { return set("ANIM_HARNESS_FAIL_LOAD", std::to_string(k)); }
    // Logs the resident memory every this many frames.
    RunOptions& log_rss(long every) { return set("ANIM_HARNESS_RSS_EVERY", std::to_string(every)); }
    RunOptions& driver(std::string name) { return set("SDL_VIDEODRIVER", std::move(name)); }
    // A variable of the test's environment the program does not get.
    RunOptions& without(std::string variable) { return set(std::move(variable), ""); }
};

struct RunResult {
    bool exited = false;              // ended by exit, not by a signal
    int status = -1;                  // exit status when exited
    int signal = 0;                   // terminating signal otherwise
    std::vector<std::string> frames;  // hash of each flipped frame, frame 1 first
    std::vector<std::string> log;     // every line the harness wrote
    long loads = -1;                  // image loads, from the exit report
    long live = -1;                   // loaded surfaces never freed; -1: no report
    std::string error_output;         // what the program wrote on stderr
};

// Runs `binary` in `workdir` headless under the harness, without the 50 ms
// pauses, and waits for it (after 120 s it is killed by SIGALRM).
RunResult run_program(const std::string& binary, const std::string& workdir, const RunOptions& options);

// Copies the run folder of `binary` (the program and its pictures) into
// `workdir`, so that the program can run there on the pictures the build drew.
void copy_run_folder(const std::string& binary, const std::string& workdir);

// A frame the harness saved into `workdir`, loaded; null (with a test
// failure) when it was not saved. The caller frees it.
SDL_Surface* load_saved_frame(const std::string& workdir, long frame);

}  // namespace test_support

#endif
