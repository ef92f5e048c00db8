#include "options/OptionsReader.h"

#include <algorithm>
#include <cmath>
#include <iostream>

#include "options/OptionsText.h"
#include "options/XMLNodes.h"

namespace {
std::string joined(const std::string& parentPath, const std::string& relative) {
    return parentPath.empty() ? relative : parentPath + "/" + relative;
}

const XMLNodes* walk(const XMLNodes& from, const std::string& relative) {
    const XMLNodes* node = &from;
    std::size_t start = 0;
    while (node != nullptr && start <= relative.size()) {
        std::size_t end = relative.find('/', start);
        if (end == std::string::npos) end = relative.size();
        node = node->child(relative.substr(start, end - start));
        start = end + 1;
    }
    return node;
}
}  // namespace

const XMLNodes* OptionsReader::find(const XMLNodes& from, const std::string& fromPath, const std::string& relative) {
    const XMLNodes* node = walk(from, relative);
    if (node == nullptr) skip(joined(fromPath, relative));
    return node;
}

bool OptionsReader::contains(const std::string& path) const { return walk(root, path) != nullptr; }

const XMLNodes* OptionsReader::element(const std::string& path) { return find(root, "", path); }

void OptionsReader::skip(const std::string& path) {
    if (std::find(skipped.begin(), skipped.end(), path) == skipped.end()) skipped.push_back(path);
}

bool OptionsReader::readInt(const std::string& path, int low, int high, int& value) {
    const XMLNodes* node = element(path);
    if (node == nullptr) return false;
    value = clampedAt(path, parseInt(node->text()), low, high);
    return true;
}

bool OptionsReader::readFlag(const std::string& path, int& value) {
    const XMLNodes* node = element(path);
    if (node == nullptr) return false;
    value = clampedAt(path, parseTruncatedFloat(node->text()), 0, 1);
    return true;
}

bool OptionsReader::readFloat(const std::string& path, float& value) { return readFloatBelow(root, "", path, value); }

bool OptionsReader::readFloat(const std::string& path, float low, float high, float& value) {
    float parsed = 0.0f;
    if (!readFloat(path, parsed)) return false;
    value = clampedAt(path, parsed, low, high);
    return true;
}

bool OptionsReader::readComponent(const std::string& path, float& value) {
    return readComponentBelow(root, "", path, value);
}

bool OptionsReader::readFloatBelow(const XMLNodes& parent, const std::string& parentPath, const std::string& name,
                                   float& value) {
    const XMLNodes* node = find(parent, parentPath, name);
    if (node == nullptr) return false;
    const float parsed = parseFloat(node->text());
    if (!std::isfinite(parsed)) {
        skip(joined(parentPath, name));
        return false;
    }
    value = parsed;
    return true;
}

bool OptionsReader::readComponentBelow(const XMLNodes& parent, const std::string& parentPath, const std::string& name,
                                       float& value) {
    const XMLNodes* node = find(parent, parentPath, name);
    if (node == nullptr) return false;
    value = parseFloat(node->text());
    // Components are saved as byte / 255 with six digits, which times 255 may
    // fall a hair short of the byte and truncate to the one below: a value
    // that close to a byte stands for that byte.
    const float scaled = value * 255.0f;
    const float nearest = std::round(scaled);
    if (std::fabs(scaled - nearest) < 0.001f) value = nearest / 255.0f;
    return true;
}

void OptionsReader::reportUnused(const std::string& fileName) const {
    if (skipped.empty()) return;
    std::cerr << "Warning: kept the current values of missing or unusable entries in options file '" << fileName
              << "':";
    for (std::size_t i = 0; i < skipped.size(); ++i) std::cerr << (i == 0 ? " " : ", ") << skipped[i];
    std::cerr << std::endl;
}
