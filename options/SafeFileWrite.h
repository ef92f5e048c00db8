#pragma once

#include <functional>
#include <iosfwd>
#include <string>

// Writes a file through a temporary file in the same directory and renames it
// over the target only when every byte went out, so a failure at any point
// leaves the previous file as it was. Returns false on failure (the temporary
// file is removed); an exception thrown by writeContent also removes it and
// is passed on.
bool writeFileSafely(const std::string& fileName, const std::function<void(std::ostream&)>& writeContent);

// The temporary file writeFileSafely uses for fileName.
std::string temporaryFileFor(const std::string& fileName);
