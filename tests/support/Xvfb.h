#pragma once

#include <string>
#include <sys/types.h>

// A private X server for tests that need a display. The server picks a free
// display number itself (-displayfd); DISPLAY is set for this process and its
// children while the object lives.
class Xvfb {
public:
    Xvfb();
    ~Xvfb();
    Xvfb(const Xvfb&) = delete;
    Xvfb& operator=(const Xvfb&) = delete;

    bool ok() const { return pid_ > 0 && !display_.empty(); }
    const std::string& display() const { return display_; }

    // One server shared by all tests of a test program, started on first use.
    static Xvfb& shared();

private:
    pid_t pid_ = -1;
    std::string display_;
    std::string previousDisplay_;
    bool hadDisplay_ = false;
};
