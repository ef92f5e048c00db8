#include "streamlines/StreamlineExport.h"

#include <ostream>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

// Text and numbers gathered in a large buffer and written in large blocks.
// Floats are written in their shortest form that reads back to the same
// float.
class OutputBuffer {
public:
    explicit OutputBuffer(std::ostream& out) : out_(out), data_(new char[capacity]) {}
    ~OutputBuffer() { flush(); }

    void text(std::string_view s) {
        room(s.size());
        if (s.size() > capacity) {
            write(s.data(), s.size());
            return;
        }
        std::memcpy(data_.get() + used_, s.data(), s.size());
        used_ += s.size();
    }
    void character(char c) {
        room(1);
        data_[used_++] = c;
    }
    template <class Number>
    void number(Number v) {
        room(32);
        used_ =
            static_cast<std::size_t>(std::to_chars(data_.get() + used_, data_.get() + capacity, v).ptr - data_.get());
    }
    // Big-endian bytes, as binary legacy VTK files hold them.
    void bigEndian(std::uint32_t bits) {
        room(4);
        for (int shift = 24; shift >= 0; shift -= 8) data_[used_++] = static_cast<char>((bits >> shift) & 0xFFu);
    }
    void bigEndian(float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        bigEndian(bits);
    }
    void bigEndian(int v) { bigEndian(static_cast<std::uint32_t>(v)); }

    bool flush() {
        write(data_.get(), used_);
        used_ = 0;
        return !failed_ && static_cast<bool>(out_);
    }

private:
    static constexpr std::size_t capacity = std::size_t(1) << 20;
    void room(std::size_t n) {
        if (used_ + n > capacity) flush();
    }
    void write(const char* bytes, std::size_t n) {
        if (n > 0 && !out_.write(bytes, static_cast<std::streamsize>(n))) failed_ = true;
    }

    std::ostream& out_;
    std::unique_ptr<char[]> data_;
    std::size_t used_ = 0;
    bool failed_ = false;
};

// The codes of the two cell fields, for the title line: the legacy format
// has no other place for a comment.
std::string reasonLookup() {
    std::string text = "start_reason and end_reason:";
    for (int r = 0; r < terminationReasonCount; ++r) {
        text += (r == 0 ? " " : ", ") + std::to_string(r) + " ";
        text += terminationReasonName(static_cast<TerminationReason>(r));
    }
    return text;
}

// Points of the lines formatted at a time, a few MB of text.
constexpr std::size_t kCsvBlockPoints = std::size_t(1) << 15;

// Formatted text; only the pages of `data` that were written are touched.
struct TextBlock {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
};

// The CSV rows of lines [first, last).
TextBlock csvRows(const StreamlineList& lines, std::size_t first, std::size_t last) {
    // Each row at most: two indices, two floats and the step (24 characters
    // each are more than enough), four commas and the two reasons.
    std::size_t bound = 0;
    std::vector<std::string> ends;
    for (std::size_t l = first; l < last; ++l) {
        ends.push_back(std::string(",") + terminationReasonName(lines[l]->startReason) + "," +
                       terminationReasonName(lines[l]->endReason) + "\n");
        bound += lines[l]->points.size() * (5 * 24 + 4 + ends.back().size());
    }
    TextBlock block;
    block.data.reset(new char[bound]);
    char* at = block.data.get();
    char* const end = at + bound;
    for (std::size_t l = first; l < last; ++l) {
        const auto& points = lines[l]->points;
        const std::string& lineEnd = ends[l - first];
        for (std::size_t k = 0; k < points.size(); ++k) {
            at = std::to_chars(at, end, l).ptr;
            *at++ = ',';
            at = std::to_chars(at, end, k).ptr;
            *at++ = ',';
            at = std::to_chars(at, end, points[k]->x()).ptr;
            *at++ = ',';
            at = std::to_chars(at, end, points[k]->y()).ptr;
            *at++ = ',';
            at = std::to_chars(at, end, points[k]->index()).ptr;
            at = std::copy(lineEnd.begin(), lineEnd.end(), at);
        }
    }
    block.size = static_cast<std::size_t>(at - block.data.get());
    return block;
}

}  // namespace

bool writeCsv(const StreamlineList& lines, std::ostream& stream) {
    stream << "line,point,x,y,step,start_reason,end_reason\n";
    // Blocks of whole lines, formatted two at a time side by side: the
    // shortest forms of the coordinates are most of the writing's work.
    std::vector<std::size_t> starts = {0};
    std::size_t points = 0;
    for (std::size_t l = 0; l < lines.size(); ++l) {
        points += lines[l]->points.size();
        if (points >= kCsvBlockPoints) {
            starts.push_back(l + 1);
            points = 0;
        }
    }
    if (starts.back() != lines.size()) starts.push_back(lines.size());
    for (std::size_t b = 0; b + 1 < starts.size(); b += 2) {
        std::future<TextBlock> second;
        if (b + 2 < starts.size()) {
            try {
                second = std::async(std::launch::async, csvRows, std::cref(lines), starts[b + 1], starts[b + 2]);
            } catch (const std::system_error&) {
                // No second thread: the block is formatted after this one.
            }
        }
        const TextBlock first = csvRows(lines, starts[b], starts[b + 1]);
        stream.write(first.data.get(), static_cast<std::streamsize>(first.size));
        const TextBlock next = second.valid()          ? second.get()
                               : b + 2 < starts.size() ? csvRows(lines, starts[b + 1], starts[b + 2])
                                                       : TextBlock();
        stream.write(next.data.get(), static_cast<std::streamsize>(next.size));
    }
    return static_cast<bool>(stream.flush());
}

// Binary files hold the same sections, each block of numbers big-endian and
// followed by a line break.
bool writeVtk(const StreamlineList& lines, std::ostream& stream, bool binary) {
    std::size_t pointCount = 0;
    std::size_t lineCount = 0;
    for (const auto& line : lines) {
        pointCount += line->points.size();
        if (!line->points.empty()) ++lineCount;
    }
    OutputBuffer out(stream);
    auto integer = [&](int v, char after) {
        if (binary) {
            out.bigEndian(v);
        } else {
            out.number(v);
            out.character(after);
        }
    };
    auto endBlock = [&] {
        if (binary) out.character('\n');
    };

    out.text("# vtk DataFile Version 3.0\nquillmere-trace streamlines; " + reasonLookup() + "\n");
    out.text(binary ? "BINARY\n" : "ASCII\n");
    out.text("DATASET POLYDATA\nPOINTS " + std::to_string(pointCount) + " float\n");
    for (const auto& line : lines) {
        for (const StreamPoint* p : line->points) {
            if (binary) {
                out.bigEndian(p->x());
                out.bigEndian(p->y());
                out.bigEndian(0.0f);
            } else {
                out.number(p->x());
                out.character(' ');
                out.number(p->y());
                out.text(" 0\n");
            }
        }
    }
    endBlock();
    out.text("LINES " + std::to_string(lineCount) + " " + std::to_string(pointCount + lineCount) + "\n");
    int next = 0;
    for (const auto& line : lines) {
        if (line->points.empty()) continue;
        integer(static_cast<int>(line->points.size()), ' ');
        for (std::size_t k = 0; k < line->points.size(); ++k)
            integer(next++, k + 1 == line->points.size() ? '\n' : ' ');
    }
    endBlock();
    out.text("POINT_DATA " + std::to_string(pointCount) + "\nSCALARS step int 1\nLOOKUP_TABLE default\n");
    for (const auto& line : lines)
        for (const StreamPoint* p : line->points) integer(p->index(), '\n');
    endBlock();
    out.text("CELL_DATA " + std::to_string(lineCount) + "\nFIELD ends 2\n");
    for (const bool start : {true, false}) {
        out.text(std::string(start ? "start_reason" : "end_reason") + " 1 " + std::to_string(lineCount) + " int\n");
        for (const auto& line : lines)
            if (!line->points.empty()) integer(static_cast<int>(start ? line->startReason : line->endReason), '\n');
        endBlock();
    }
    return out.flush();
}
