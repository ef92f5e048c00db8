#pragma once

#include <string>

// An RGBA image, 8 bits a channel, as PNG file bytes. The rows of `pixels`
// come bottom-up (the GL's order) and are stored top-down. Compressed at a
// moderate level with the Sub and Up filters: several times faster than
// zlib's default level with adaptive filtering, for files about a tenth to a
// third larger. Empty with `why` saying what failed.
std::string encodePng(int width, int height, const unsigned char* pixels, std::string& why);
