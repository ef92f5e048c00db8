#pragma once

#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

// What a piece of work would have printed on standard output and error,
// kept in the order it was written, to be printed later in one go: work on
// another thread keeps its lines together and in their place among the
// program's other lines, or drops them.
class ConsoleLog {
public:
    ConsoleLog();
    ConsoleLog(const ConsoleLog&) = delete;
    ConsoleLog& operator=(const ConsoleLog&) = delete;

    std::ostream& out() { return out_; }
    std::ostream& err() { return err_; }

    // Writes everything kept to `out` and `err`, in the order it came, and
    // flushes both.
    void replay(std::ostream& out, std::ostream& err) const;

private:
    struct Piece {
        bool error;
        std::string text;
    };
    // Appends whatever its stream writes to the pieces, joining it to the
    // last piece when that came from the same stream.
    class Buffer : public std::streambuf {
    public:
        Buffer(std::vector<Piece>& pieces, bool error) : pieces_(pieces), error_(error) {}

    protected:
        int_type overflow(int_type c) override;
        std::streamsize xsputn(const char* text, std::streamsize count) override;

    private:
        std::vector<Piece>& pieces_;
        bool error_;
    };

    std::vector<Piece> pieces_;
    Buffer outBuffer_;
    Buffer errBuffer_;
    std::ostream out_;
    std::ostream err_;
};

// Where the core's messages go: std::cout and std::cerr, unless the calling
// thread keeps them in a log through a ConsoleRedirect.
std::ostream& consoleOut();
std::ostream& consoleErr();

// While it lives, consoleOut() and consoleErr() of the thread that made it
// write into `log`: work done early on another thread keeps its lines until
// the moment they belong.
class ConsoleRedirect {
public:
    explicit ConsoleRedirect(ConsoleLog& log);
    ~ConsoleRedirect();
    ConsoleRedirect(const ConsoleRedirect&) = delete;
    ConsoleRedirect& operator=(const ConsoleRedirect&) = delete;

private:
    ConsoleLog* previous_;
};
