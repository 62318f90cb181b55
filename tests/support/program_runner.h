// program_runner: runs a real program under the harness and reads what it did.
#ifndef ANIM_TESTS_PROGRAM_RUNNER_H
#define ANIM_TESTS_PROGRAM_RUNNER_H

#include "support/test_images.h"

#include <string>
#include <vector>

namespace test_support {

// What the harness does to a run; the setters chain:
// RunOptions().quit(5).save("1-5").
struct RunOptions {
    long quit_at = 0;    // frame whose poll delivers the quit; 0: none
    std::string events;  // events queued ahead of the quit ("key,motion")
    std::string saved;   // frames to save as BMP into the work folder
    long refused = 0;    // image load to refuse; 0: none
    long rss_every = 0;  // log the resident memory every this many frames; 0: never
    std::string video_driver = "dummy";
    std::string unset;  // a variable of the test's environment the program does not get

    RunOptions& quit(long frame) { return quit_at = frame, *this; }
    RunOptions& queue(std::string names) { return events = std::move(names), *this; }
    RunOptions& save(std::string frames) { return saved = std::move(frames), *this; }
    RunOptions& refuse_load(long k) { return refused = k, *this; }
    RunOptions& log_rss(long every) { return rss_every = every, *this; }
    RunOptions& driver(std::string name) { return video_driver = std::move(name), *this; }
    RunOptions& without(std::string variable) { return unset = std::move(variable), *this; }
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

// Copies what lies beside `binary` in its run folder (its pictures) into
// `workdir`, so that the program can run there on the pictures the build drew.
void copy_run_folder(const std::string& binary, const std::string& workdir);

// The harness's log lines after the last flipped frame.
std::vector<std::string> lines_after_last_frame(const RunResult& result);

// A frame the harness saved into `workdir`, loaded; null (with a test
// failure) when it was not saved. The caller frees it.
SDL_Surface* load_saved_frame(const std::string& workdir, long frame);

}  // namespace test_support

#endif
