// program_runner: fork, exec and wait for a program under the harness.
#include "program_runner.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace test_support {

namespace {

constexpr unsigned kRunLimitSeconds = 120;

// In the child: the harness's settings replace the test's own, the output
// goes to files of `workdir`, and the program replaces the child.
[[noreturn]] void exec_child(const std::string& binary, const std::string& workdir, const RunOptions& o)
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

}  // namespace

RunResult run_program(const std::string& binary, const std::string& workdir, const RunOptions& options)
{
    std::remove((workdir + "/harness.log").c_str());
    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) exec_child(binary, workdir, options);
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

void copy_run_folder(const std::string& binary, const std::string& workdir)
{
    std::filesystem::copy(std::filesystem::path(binary).parent_path(), workdir, std::filesystem::copy_options::recursive);
}

SDL_Surface* load_saved_frame(const std::string& workdir, long frame)
{
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%05ld.bmp", frame);
    SDL_Surface* image = SDL_LoadBMP((workdir + name).c_str());
    if (image == nullptr) ADD_FAILURE() << "frame " << frame << " was not saved: " << SDL_GetError();
    return image;
}

}  // namespace test_support
