// program_runner: fork, exec and wait for a program under the harness.
#include "program_runner.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace test_support {

namespace {

constexpr auto kRunLimit = std::chrono::seconds(120);

std::map<std::string, std::string> harness_environment(const std::string& workdir, const RunOptions& o)
{
    std::map<std::string, std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const size_t eq = entry.find('=');
        if (eq != std::string::npos && entry.rfind("ANIM_HARNESS_", 0) != 0)
            env[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    env["SDL_VIDEODRIVER"] = o.video_driver;
    env["LD_PRELOAD"] = ANIM_HARNESS_LIBRARY;
    env["ANIM_HARNESS_NO_DELAY"] = "1";
    env["ANIM_HARNESS_LOG"] = workdir + "/harness.log";
    env["ANIM_HARNESS_SAVE_DIR"] = workdir;
    if (o.quit_at > 0) env["ANIM_HARNESS_QUIT_AT"] = std::to_string(o.quit_at);
    if (!o.events.empty()) env["ANIM_HARNESS_EVENTS"] = o.events;
    if (!o.save.empty()) env["ANIM_HARNESS_SAVE"] = o.save;
    if (o.fail_load > 0) env["ANIM_HARNESS_FAIL_LOAD"] = std::to_string(o.fail_load);
    if (o.rss_every > 0) env["ANIM_HARNESS_RSS_EVERY"] = std::to_string(o.rss_every);
    for (const std::string& name : o.unset) env.erase(name);
    return env;
}

[[noreturn]] void exec_child(const std::string& binary, const std::string& workdir,
                             const std::map<std::string, std::string>& env)
{
    std::vector<std::string> entries;
    entries.reserve(env.size());
    for (const auto& [name, value] : env) entries.push_back(std::string(name).append("=").append(value));
    std::vector<char*> envp;
    envp.reserve(entries.size() + 1);
    for (std::string& entry : entries) envp.push_back(entry.data());
    envp.push_back(nullptr);
    const int err = open((workdir + "/stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int null = open("/dev/null", O_RDWR);
    if (chdir(workdir.c_str()) != 0 || err < 0 || null < 0) _exit(126);
    dup2(null, STDIN_FILENO);
    dup2(null, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    char* argv[] = {const_cast<char*>(binary.c_str()), nullptr};
    execve(binary.c_str(), argv, envp.data());
    _exit(127);
}

std::string read_file(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void read_log(const std::string& path, RunResult& result)
{
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        result.log.push_back(line);
        char hash[32] = {};
        long n = 0;
        if (std::sscanf(line.c_str(), "frame %ld %31s", &n, hash) == 2) result.frames.emplace_back(hash);
        std::sscanf(line.c_str(), "exit loads=%ld live=%ld", &result.loads, &result.live);
    }
}

}  // namespace

RunResult run_program(const std::string& binary, const std::string& workdir, const RunOptions& options)
{
    const auto env = harness_environment(workdir, options);
    std::remove((workdir + "/harness.log").c_str());
    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) exec_child(binary, workdir, env);

    int wait_status = 0;
    const auto deadline = std::chrono::steady_clock::now() + kRunLimit;
    while (waitpid(child, &wait_status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &wait_status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    RunResult result;
    result.exited = WIFEXITED(wait_status);
    result.status = result.exited ? WEXITSTATUS(wait_status) : -1;
    result.signal = WIFSIGNALED(wait_status) ? WTERMSIG(wait_status) : 0;
    read_log(workdir + "/harness.log", result);
    result.error_output = read_file(workdir + "/stderr.txt");
    return result;
}

void copy_run_folder(const std::string& binary, const std::string& workdir)
{
    namespace fs = std::filesystem;
    for (const auto& entry : fs::directory_iterator(fs::path(binary).parent_path()))
        if (entry.path() != fs::path(binary))
            fs::copy(entry.path(), fs::path(workdir) / entry.path().filename(), fs::copy_options::recursive);
}

std::vector<std::string> lines_after_last_frame(const RunResult& result)
{
    size_t first = 0;
    for (size_t i = 0; i < result.log.size(); ++i)
        if (result.log[i].rfind("frame ", 0) == 0) first = i + 1;
    return {result.log.begin() + static_cast<std::ptrdiff_t>(first), result.log.end()};
}

std::string saved_frame(const std::string& workdir, long frame)
{
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%05ld.bmp", frame);
    return workdir + name;
}

}  // namespace test_support
