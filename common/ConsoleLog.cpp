#include "common/ConsoleLog.h"

#include <iostream>

namespace {
thread_local ConsoleLog* capturing = nullptr;
}  // namespace

ConsoleLog::ConsoleLog()
    : outBuffer_(pieces_, false), errBuffer_(pieces_, true), out_(&outBuffer_), err_(&errBuffer_) {}

ConsoleLog::Buffer::int_type ConsoleLog::Buffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char character = traits_type::to_char_type(c);
    xsputn(&character, 1);
    return c;
}

std::streamsize ConsoleLog::Buffer::xsputn(const char* text, std::streamsize count) {
    if (pieces_.empty() || pieces_.back().error != error_) pieces_.push_back({error_, std::string()});
    pieces_.back().text.append(text, static_cast<std::size_t>(count));
    return count;
}

void ConsoleLog::replay(std::ostream& out, std::ostream& err) const {
    for (const Piece& piece : pieces_) {
        std::ostream& stream = piece.error ? err : out;
        stream << piece.text;
        // The other stream's next piece must not overtake this one.
        stream.flush();
    }
    out.flush();
    err.flush();
}

std::ostream& consoleOut() { return capturing ? capturing->out() : std::cout; }

std::ostream& consoleErr() { return capturing ? capturing->err() : std::cerr; }

ConsoleRedirect::ConsoleRedirect(ConsoleLog& log) : previous_(capturing) { capturing = &log; }

ConsoleRedirect::~ConsoleRedirect() { capturing = previous_; }
