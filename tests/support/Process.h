#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// A child process started from a working directory, its standard output and
// error going to files that the test reads afterwards.
class Process {
public:
    Process(const std::string& program, const std::vector<std::string>& args, const std::string& workDir);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Waits for the end; kills the process after timeoutSeconds. Returns the
    // exit code, or -1 when it was killed or died from a signal.
    int wait(double timeoutSeconds = 60.0);
    bool running();
    void kill();

    std::string out() const;  // everything written to standard output so far
    std::string err() const;

    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    int status_ = -1;
    bool done_ = false;
    std::string outPath_;
    std::string errPath_;
};

// Runs a program to its end and returns the exit code (-1 on timeout).
struct RunResult {
    int code;
    std::string out;
    std::string err;
};
RunResult run(const std::string& program, const std::vector<std::string>& args, const std::string& workDir,
              double timeoutSeconds = 120.0);

// The built programs, by name ("quillmere", "quillmere-flowgen", ...).
std::string programPath(const std::string& name);
std::string readFile(const std::string& path);
