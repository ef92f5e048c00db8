#pragma once

#include <string>

// The lowest free "Quillmere%04d.png" in the current directory, probing 0000
// up to 9998; when all are taken, the 9998 name (whose save then fails).
std::string nextScreenshotName();
