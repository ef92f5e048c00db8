#pragma once

// Takes what is written to std::cout (and std::cerr, unless told otherwise)
// while it lives: the core reports every step on the console, and tests and
// benchmarks either read those lines or keep them out of their own output.
// Header-only so that the benchmarks can use it too.

#include <iostream>
#include <sstream>
#include <string>

class ConsoleCapture {
public:
    enum Streams { stdoutOnly, stdoutAndStderr };

    explicit ConsoleCapture(Streams streams = stdoutAndStderr)
        : savedOut_(std::cout.rdbuf(out_.rdbuf())),
          savedErr_(streams == stdoutAndStderr ? std::cerr.rdbuf(err_.rdbuf()) : nullptr) {}
    ~ConsoleCapture() {
        std::cout.rdbuf(savedOut_);
        if (savedErr_) std::cerr.rdbuf(savedErr_);
    }
    ConsoleCapture(const ConsoleCapture&) = delete;
    ConsoleCapture& operator=(const ConsoleCapture&) = delete;

    std::string out() const { return out_.str(); }
    std::string err() const { return err_.str(); }
    // Drops what was taken so far, for loops that would otherwise pile it up.
    void clear() {
        out_.str("");
        err_.str("");
    }

private:
    std::ostringstream out_;
    std::ostringstream err_;
    std::streambuf* savedOut_;
    std::streambuf* savedErr_;
};
