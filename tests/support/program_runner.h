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

// What the harness does to a run, as options of anim_headless;
// the setters chain: RunOptions().quit(5).save("1-5").
struct RunOptions {
    std::vector<std::string> arguments;
    std::vector<std::string> unset;  // variables of the test's environment the program does not get

    RunOptions& option(const char* name, std::string value)
    {
        arguments.emplace_back(name);
        return arguments.push_back(std::move(value)), *this;
    }
    // The frame whose first poll delivers the quit.
    RunOptions& quit(long frame) { return option("--frames", std::to_string(frame)); }
    // Events delivered ahead of the quit ("key,motion").
    RunOptions& queue(std::string names) { return option("--events", std::move(names)); }
    // Frames to save as BMP into the work folder ("1-5", "all").
    RunOptions& save(std::string frames) { return option("--save", std::move(frames)); }
    // The image load to refuse (1: the first; 0: none).
    RunOptions& refuse_load(long k) { return option("--refuse", std::to_string(k)); }
    RunOptions& driver(std::string name) { return option("--driver", std::move(name)); }
    RunOptions& without(std::string variable) { return unset.push_back(std::move(variable)), *this; }
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

// In the child: the output goes to files of `workdir`, and the build's
// anim_headless runs the program there in place of the child.
[[noreturn]] inline void exec_child(const std::string& binary, const std::string& workdir, const RunOptions& o)
{
    for (const std::string& variable : o.unset) unsetenv(variable.c_str());
    std::vector<std::string> words{ANIM_HEADLESS,           "--in", workdir, "--save-dir", workdir, "--log",
                                   workdir + "/harness.log"};
    words.insert(words.end(), o.arguments.begin(), o.arguments.end());
    words.insert(words.end(), {"--", binary});
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const int err = open((workdir + "/stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int null = open("/dev/null", O_RDWR);
    if (err < 0 || null < 0) _exit(126);
    dup2(null, STDIN_FILENO);
    dup2(null, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    alarm(kRunLimitSeconds);  // stays set across exec
    execv(ANIM_HEADLESS, argv.data());
    _exit(127);
}

}  // namespace detail

// Runs `binary` in `workdir` headless under the harness (anim_headless),
// and waits for it (after 120 s it is killed by
// SIGALRM).
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
