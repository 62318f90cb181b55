// program_runner: runs a real program under the harness (fork, exec, wait)
// and reads what it did.
#ifndef ANIM_TESTS_PROGRAM_RUNNER_H
#define ANIM_TESTS_PROGRAM_RUNNER_H

#include "support/test_images.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
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

namespace detail {

constexpr unsigned kRunLimitSeconds = 120;

// In the child: the harness's settings replace the test's own, the output
// goes to files of `workdir`, and the program replaces the child.
[[noreturn]] inline void exec_child(const std::string& binary, const std::string& workdir, const RunOptions& o)
{
    std::vector<std::string> inherited;
    for (char** e = environ; *e != nullptr; ++e)
        if (std::string(*e).rfind("ANIM_HARNESS_", 0) == 0) inherited.emplace_back(*e, std::strchr(*e, '='));
    for (const std::string& name : inherited) unsetenv(name.c_str());
    const std::pair<const char*, std::string> harness[] = {{"LD_PRELOAD", ANIM_HARNESS_LIBRARY},
                                                           {"ANIM_HARNESS_NO_DELAY", "1"},
                                                           {"ANIM_HARNESS_LOG", workdir + "/harness.log"},
                                                           {"ANIM_HARNESS_SAVE_DIR", workdir}};
    for (const auto& [name, value] : harness) setenv(name, value.c_str(), 1);
    for (const auto& [name, value] : o.settings)
        value.empty() ? unsetenv(name.c_str()) : setenv(name.c_str(), value.c_str(), 1);
    const int err = open((workdir + "/stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int null = open("/dev/null", O_RDWR);
    if (chdir(workdir.c_str()) != 0 || err < 0 || null < 0) _exit(126);
    dup2(null, STDIN_FILENO);
    dup2(null, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    alarm(kRunLimitSeconds);  // stays set across exec
    execl(binary.c_str(), binary.c_str(), static_cast<char*>(nullptr));
    _exit(127);
}

}  // namespace detail

// Runs `binary` in `workdir` headless under the harness, without the 50 ms
// pauses, and waits for it (after 120 s it is killed by SIGALRM).
inline RunResult run_program(const std::string& binary, const std::string& workdir, const RunOptions& options)
{
    std::remove((workdir + "/harness.log").c_str());
    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) detail::exec_child(binary, workdir, options);
    int wait_status = 0;
    waitpid(child, &wait_status, 0);

    RunResult result;
    result.exited = WIFEXITED(wait_status);
    result.status = result.exited ? WEXITSTATUS(wait_status) : -1;
    result.signal = WIFSIGNALED(wait_status) ? WTERMSIG(wait_status) : 0;
    std::ifstream log(workdir + "/harness.log");
    for (std::string line; std::getline(log, line);) {
        result.log.push_back(line);
        char hash[32] = {};
        long n = 0;
        if (std::sscanf(line.c_str(), "frame %ld %31s", &n, hash) == 2) result.frames.emplace_back(hash);
        std::sscanf(line.c_str(), "exit loads=%ld live=%ld", &result.loads, &result.live);
    }
    std::stringstream errors;
    errors << std::ifstream(workdir + "/stderr.txt").rdbuf();
    result.error_output = errors.str();
    return result;
}

// Copies the run folder of `binary` (the program and its pictures) into
// `workdir`, so that the program can run there on the pictures the build drew.
inline void copy_run_folder(const std::string& binary, const std::string& workdir)
{
    std::filesystem::copy(std::filesystem::path(binary).parent_path(), workdir,
                          std::filesystem::copy_options::recursive);
}

// A frame the harness saved into `workdir`, loaded; null (with a test
// failure) when it was not saved. The caller frees it.
inline SDL_Surface* load_saved_frame(const std::string& workdir, long frame)
{
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%05ld.bmp", frame);
    SDL_Surface* image = SDL_LoadBMP((workdir + name).c_str());
    if (image == nullptr) ADD_FAILURE() << "frame " << frame << " was not saved: " << SDL_GetError();
    return image;
}

}  // namespace test_support

#endif
