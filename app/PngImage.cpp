#include "app/PngImage.h"

#include <png.h>

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <new>

namespace {

// libpng reports errors by longjmp: nothing with a destructor lives between
// the setjmp below and the calls that may jump, and nothing the callbacks do
// allocates or throws (the buffer is reserved beforehand).
struct Output {
    std::string bytes;
    std::size_t capacity = 0;
    char error[128] = {};
};

void append(png_structp png, png_bytep data, png_size_t length) {
    Output& out = *static_cast<Output*>(png_get_io_ptr(png));
    if (length > out.capacity - out.bytes.size()) png_error(png, "the picture does not fit its buffer");
    out.bytes.append(reinterpret_cast<const char*>(data), length);
}

void flushNothing(png_structp) {}

void fail(png_structp png, png_const_charp message) {
    Output& out = *static_cast<Output*>(png_get_error_ptr(png));
    std::snprintf(out.error, sizeof out.error, "%s", message);
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

bool encodeInto(Output& out, int width, int height, const unsigned char* pixels) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &out, fail, ignoreWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, append, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 3);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB | PNG_FILTER_UP);
    png_write_info(png, info);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    for (int y = height - 1; y >= 0; --y) png_write_row(png, pixels + static_cast<std::size_t>(y) * rowBytes);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

std::string encodePng(int width, int height, const unsigned char* pixels, std::string& why) {
    Output out;
    if (width <= 0 || height <= 0) {
        why = "an empty picture";
        return {};
    }
    // Rows with their filter byte, stored uncompressed in the worst case:
    // deflate adds 5 bytes a 16 KB block, libpng 12 bytes a chunk of 8 KB or
    // more, and the signature and the other chunks stay small. Only the
    // pages written are touched.
    const std::size_t raw = static_cast<std::size_t>(height) * (static_cast<std::size_t>(width) * 4 + 1);
    out.capacity = raw + raw / 500 + 65536;
    try {
        out.bytes.reserve(out.capacity);
    } catch (const std::bad_alloc&) {
        why = "not enough memory to encode the PNG";
        return {};
    }
    if (encodeInto(out, width, height, pixels)) return std::move(out.bytes);
    why = out.error[0] ? std::string("PNG encoding failed: ") + out.error : "the PNG encoder could not start";
    return {};
}
