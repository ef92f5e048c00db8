#pragma once

#include "formats/Importer.h"

#include <memory>
#include <string>

// A table of a rectilinear grid's nodes in comma-separated text: a header
// row naming the columns x, y, u, v and then any further columns, which
// become data channels (up to 10) under their header names; then one row
// per node, in any order. Blank lines are skipped, Windows line ends taken.
// A table that is not a grid is refused with the first offending line:
// rows of another length, fields that are not numbers, coordinates that are
// not finite, a point given twice, a node without a row.
class CsvImporter : public Importer {
public:
    // Null with `error` when the file cannot be read or is refused.
    static std::unique_ptr<CsvImporter> open(const std::string& path, std::string& error);
    // The same from the table's text; `name` stands for the file in progress lines.
    static std::unique_ptr<CsvImporter> parse(const std::string& text, const std::string& name, std::string& error);

    bool readValues(int step, std::vector<std::vector<float>>& values, std::string& error) override;

private:
    std::vector<std::vector<float>> values_;
};
