#include "app/StandardErrorWatch.h"

#include <iostream>
#include <streambuf>

namespace {
class NotingBuffer : public std::streambuf {
public:
    explicit NotingBuffer(std::streambuf* target) : target_(target) {}
    bool written = false;

protected:
    int overflow(int c) override {
        if (c == traits_type::eof()) return traits_type::not_eof(c);
        written = true;
        return target_->sputc(static_cast<char>(c));
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        written = written || n > 0;
        return target_->sputn(s, n);
    }
    int sync() override { return target_->pubsync(); }

private:
    std::streambuf* target_;
};

NotingBuffer* watch = nullptr;
}  // namespace

void watchStandardError() {
    if (watch) return;
    // Lives as long as the process: std::cerr may be used during exit.
    watch = new NotingBuffer(std::cerr.rdbuf());
    std::cerr.rdbuf(watch);
}

bool standardErrorWritten() { return watch && watch->written; }
