#pragma once

#include <algorithm>
#include <string>
#include <vector>

class XMLNodes;

// Reads the values of a loaded options tree by path ("camera/translation/x",
// looked up without regard to case) with the C library's atoi/atof rules.
// An element that is missing, or a number that cannot be used, is remembered
// and its read returns false, so the caller keeps the current value.
class OptionsReader {
public:
    explicit OptionsReader(const XMLNodes& root) : root(root) {}

    // Whether the element at path exists; a missing one is not remembered.
    bool contains(const std::string& path) const;
    // The element at path; null (and remembered) when it is missing.
    const XMLNodes* element(const std::string& path);

    // atoi, clamped to [low, high].
    bool readInt(const std::string& path, int low, int high, int& value);
    // atof truncated toward zero, clamped to 0..1.
    bool readFlag(const std::string& path, int& value);
    // atof; an infinite or NaN result is refused.
    bool readFloat(const std::string& path, float& value);
    // The same, clamped to [low, high].
    bool readFloat(const std::string& path, float low, float high, float& value);
    // atof for a colour component; the colour's own rule clamps it.
    bool readComponent(const std::string& path, float& value);
    // The same two reads for the child `name` of `parent` (found at parentPath).
    bool readFloatBelow(const XMLNodes& parent, const std::string& parentPath, const std::string& name, float& value);
    bool readComponentBelow(const XMLNodes& parent, const std::string& parentPath, const std::string& name,
                            float& value);

    const std::vector<std::string>& skippedPaths() const { return skipped; }
    // Paths whose value lay outside its limits and was clamped, in order.
    const std::vector<std::string>& clampedPaths() const { return clamped; }
    // One line on standard error naming every skipped path; nothing when none.
    void reportUnused(const std::string& fileName) const;

private:
    const XMLNodes* find(const XMLNodes& from, const std::string& fromPath, const std::string& relative);
    void skip(const std::string& path);
    template <class T>
    T clampedAt(const std::string& path, T value, T low, T high) {
        const T held = std::clamp(value, low, high);
        if (held != value) clamped.push_back(path);
        return held;
    }

    const XMLNodes& root;
    std::vector<std::string> skipped;
    std::vector<std::string> clamped;
};
