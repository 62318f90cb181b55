// program_runner: runs a real program under the harness and reads what it did.
#ifndef ANIM_TESTS_PROGRAM_RUNNER_H
#define ANIM_TESTS_PROGRAM_RUNNER_H

#include <string>
#include <utility>
#include <vector>

namespace test_support {

struct RunOptions {
    long quit_at = 0;    // frame whose poll delivers the quit; 0: none
    std::string events;  // events queued ahead of the quit ("key,motion")
    std::string save;    // frames to save as BMP into the work folder
    long fail_load = 0;  // image load to refuse; 0: none
    long rss_every = 0;  // log the resident memory every this many frames; 0: never
    std::string video_driver = "dummy";
    std::vector<std::string> unset;  // variables of the test's environment the program does not get

    // Chainable setters: RunOptions().quit(5).save_frames("1-5").
    RunOptions& quit(long frame)
    {
        quit_at = frame;
        return *this;
    }
    RunOptions& queue_events(std::string names)
    {
        events = std::move(names);
        return *this;
    }
    RunOptions& save_frames(std::string list)
    {
        save = std::move(list);
        return *this;
    }
    RunOptions& refuse_load(long k)
    {
        fail_load = k;
        return *this;
    }
    RunOptions& driver(std::string name)
    {
        video_driver = std::move(name);
        return *this;
    }
    RunOptions& without(std::string variable)
    {
        unset.push_back(std::move(variable));
        return *this;
    }
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

// Runs `binary` in `workdir` headless under the harness, without the
// 50 ms pauses, and waits for it (at most 120 s; then it is killed).
RunResult run_program(const std::string& binary, const std::string& workdir, const RunOptions& options);

// Copies what lies beside `binary` in its run folder (its pictures) into
// `workdir`, so that the program can run there on the pictures the build drew.
void copy_run_folder(const std::string& binary, const std::string& workdir);

// The harness's log lines after the last flipped frame.
std::vector<std::string> lines_after_last_frame(const RunResult& result);

// Path of a frame the harness saved into `workdir`.
std::string saved_frame(const std::string& workdir, long frame);

}  // namespace test_support

#endif
