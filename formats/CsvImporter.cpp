#include "formats/CsvImporter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>
#include <tuple>

namespace {

std::string trimmed(std::string_view field) {
    const auto first = field.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::string();
    const auto last = field.find_last_not_of(" \t");
    return std::string(field.substr(first, last - first + 1));
}

std::vector<std::string_view> split(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos) return fields;
        start = comma + 1;
    }
}

// One whole field as a float, blanks around it allowed.
bool toFloat(std::string_view field, float& value) {
    const auto first = field.find_first_not_of(" \t");
    const auto last = field.find_last_not_of(" \t");
    if (first == std::string_view::npos) return false;
    const char* begin = field.data() + first;
    const char* end = field.data() + last + 1;
    if (*begin == '+') ++begin;  // from_chars takes no plus sign
    const auto result = std::from_chars(begin, end, value);
    return result.ec == std::errc() && result.ptr == end;
}

std::string number(float v) {
    std::ostringstream out;
    out << v;
    return out.str();
}

struct Row {
    float x, y;
    std::size_t line;
    std::size_t i = 0, j = 0;
};

}  // namespace

std::unique_ptr<CsvImporter> CsvImporter::open(const std::string& path, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot open '" + path + "'";
        return nullptr;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return parse(text.str(), path, error);
}

std::unique_ptr<CsvImporter> CsvImporter::parse(const std::string& text, const std::string& name, std::string& error) {
    std::unique_ptr<CsvImporter> table(new CsvImporter());
    table->path_ = name;
    auto refuse = [&](std::size_t line, const std::string& why) {
        error = "line " + std::to_string(line) + ": " + why;
        return nullptr;
    };

    std::vector<std::string> header;
    std::vector<Row> rows;
    std::vector<std::vector<float>> columns;
    std::size_t lineNumber = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + at, end - at);
        at = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.find_first_not_of(" \t") == std::string_view::npos) continue;
        const std::vector<std::string_view> fields = split(line);
        if (header.empty()) {
            for (std::string_view field : fields) {
                std::string label = trimmed(field);
                if (label.size() >= 2 && label.front() == '"' && label.back() == '"')
                    label = label.substr(1, label.size() - 2);
                header.push_back(label);
            }
            float ignored;
            if (toFloat(fields[0], ignored))
                return refuse(lineNumber, "the table needs a header row (x, y, u, v, ...)");
            if (header.size() < 4)
                return refuse(lineNumber, "the header has " + std::to_string(header.size()) +
                                              " columns; a table needs x, y, u and v");
            if (header.size() > 14)
                return refuse(lineNumber, "the header has " + std::to_string(header.size() - 4) +
                                              " columns after x, y, u, v; at most 10 data channels are supported");
            columns.resize(header.size());
            continue;
        }
        if (fields.size() != header.size())
            return refuse(lineNumber,
                          std::to_string(fields.size()) + " fields, the header has " + std::to_string(header.size()));
        for (std::size_t c = 0; c < fields.size(); ++c) {
            float value;
            if (!toFloat(fields[c], value))
                return refuse(lineNumber, "'" + trimmed(fields[c]) + "' in column " + header[c] + " is not a number");
            if (c < 2 && !std::isfinite(value))
                return refuse(lineNumber, "the coordinate " + header[c] + " is not a finite number");
            columns[c].push_back(value);
        }
        rows.push_back(Row{columns[0].back(), columns[1].back(), lineNumber});
    }
    if (header.empty()) return refuse(lineNumber, "the table is empty");

    // The grid: the distinct x and y values, every pair of them once.
    for (const Row& row : rows) {
        table->xs.push_back(row.x);
        table->ys.push_back(row.y);
    }
    for (std::vector<float>* axis : {&table->xs, &table->ys}) {
        std::sort(axis->begin(), axis->end());
        axis->erase(std::unique(axis->begin(), axis->end()), axis->end());
    }
    const std::size_t nx = table->xs.size(), ny = table->ys.size();
    if (nx < 2 || ny < 2) {
        error = "the table has " + std::to_string(nx) + " x value(s) and " + std::to_string(ny) +
                " y value(s); a grid needs at least 2 of each";
        return nullptr;
    }
    for (Row& row : rows) {
        row.i =
            static_cast<std::size_t>(std::lower_bound(table->xs.begin(), table->xs.end(), row.x) - table->xs.begin());
        row.j =
            static_cast<std::size_t>(std::lower_bound(table->ys.begin(), table->ys.end(), row.y) - table->ys.begin());
    }
    // Sorted by node, then by line: a repeat follows the row it repeats.
    std::vector<std::size_t> order(rows.size());
    for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return std::tie(rows[a].j, rows[a].i, rows[a].line) < std::tie(rows[b].j, rows[b].i, rows[b].line);
    });
    const Row* repeat = nullptr;
    const Row* repeated = nullptr;
    for (std::size_t k = 1; k < order.size(); ++k) {
        const Row& a = rows[order[k - 1]];
        const Row& b = rows[order[k]];
        if (a.i == b.i && a.j == b.j && (!repeat || b.line < repeat->line)) repeat = &b, repeated = &a;
    }
    if (repeat)
        return refuse(repeat->line, "the point (" + number(repeat->x) + ", " + number(repeat->y) +
                                        ") was given before, on line " + std::to_string(repeated->line));
    if (rows.size() != nx * ny) {
        std::size_t expected = 0;
        for (std::size_t k : order) {
            if (rows[k].j * nx + rows[k].i != expected) break;
            ++expected;
        }
        error = "no row for the node (" + number(table->xs[expected % nx]) + ", " + number(table->ys[expected / nx]) +
                "): " + std::to_string(nx) + " x values and " + std::to_string(ny) + " y values need " +
                std::to_string(nx * ny) + " rows, the table has " + std::to_string(rows.size());
        return nullptr;
    }

    // Velocity x, y, z (none), then the further columns, in storage order.
    table->channelNames.assign(header.begin() + 4, header.end());
    table->values_.assign(3 + table->channelNames.size(), std::vector<float>(nx * ny, 0.0f));
    const std::size_t sources[] = {2, 3};
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::size_t node = rows[r].j * nx + rows[r].i;
        for (std::size_t c = 0; c < 2; ++c) table->values_[c][node] = columns[sources[c]][r];
        for (std::size_t c = 4; c < header.size(); ++c) table->values_[c - 1][node] = columns[c][r];
    }
    table->report = {"- Reading table '" + name + "' ...", "Rows: " + std::to_string(rows.size())};
    return table;
}

bool CsvImporter::readValues(int step, std::vector<std::vector<float>>& values, std::string& error) {
    if (step != 0) {
        error = "a table has one time step";
        return false;
    }
    values = values_;
    return true;
}
