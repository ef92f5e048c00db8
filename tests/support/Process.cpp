#include "support/Process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
int counter = 0;
}

Process::Process(const std::string& program, const std::vector<std::string>& args, const std::string& workDir) {
    const std::string stem = workDir + "/.proc" + std::to_string(getpid()) + "_" + std::to_string(counter++);
    outPath_ = stem + ".out";
    errPath_ = stem + ".err";
    pid_ = fork();
    if (pid_ == 0) {
        if (chdir(workDir.c_str()) != 0) _exit(126);
        int out = open(outPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(errPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int in = open("/dev/null", O_RDONLY);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
}

Process::~Process() {
    kill();
    std::error_code ec;
    fs::remove(outPath_, ec);
    fs::remove(errPath_, ec);
}

bool Process::running() {
    if (done_ || pid_ <= 0) return false;
    if (waitpid(pid_, &status_, WNOHANG) == pid_) done_ = true;
    return !done_;
}

int Process::wait(double timeoutSeconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (running()) {
        if (std::chrono::steady_clock::now() > end) {
            kill();
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (pid_ <= 0) return -1;
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
}

void Process::kill() {
    if (running()) {
        ::kill(pid_, SIGKILL);
        waitpid(pid_, &status_, 0);
        done_ = true;
        status_ = -1;
    }
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Process::out() const { return readFile(outPath_); }
std::string Process::err() const { return readFile(errPath_); }

RunResult run(const std::string& program, const std::vector<std::string>& args, const std::string& workDir,
              double timeoutSeconds) {
    Process p(program, args, workDir);
    const int code = p.wait(timeoutSeconds);
    return {code, p.out(), p.err()};
}

std::string programPath(const std::string& name) { return std::string(QM_BINARY_DIR) + "/" + name; }
