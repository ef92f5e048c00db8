#include "support/ScreenGrab.h"

#include <IL/il.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <vector>

Image grabScreen() {
    Image image;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return image;
    Window root = DefaultRootWindow(display);
    XWindowAttributes attributes;
    XGetWindowAttributes(display, root, &attributes);
    XImage* shot = XGetImage(display, root, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (shot) {
        image.width = attributes.width;
        image.height = attributes.height;
        image.rgba.resize(static_cast<size_t>(image.width) * image.height * 4);
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) {
                const unsigned long pixel = XGetPixel(shot, x, y);
                std::uint8_t* p = &image.rgba[(static_cast<size_t>(y) * image.width + x) * 4];
                p[0] = static_cast<std::uint8_t>((pixel & shot->red_mask) >> 16);
                p[1] = static_cast<std::uint8_t>((pixel & shot->green_mask) >> 8);
                p[2] = static_cast<std::uint8_t>(pixel & shot->blue_mask);
                p[3] = 255;
            }
        XDestroyImage(shot);
    }
    XCloseDisplay(display);
    return image;
}

bool savePng(const Image& image, const std::string& path) {
    loadPng("");  // makes sure DevIL is initialised with the upper-left origin
    ILuint name = 0;
    ilGenImages(1, &name);
    ilBindImage(name);
    // DevIL writes this image bottom row first: hand it the rows reversed.
    const size_t row = static_cast<size_t>(image.width) * 4;
    std::vector<std::uint8_t> copy(image.rgba.size());
    for (int y = 0; y < image.height; ++y) std::copy_n(&image.rgba[y * row], row, &copy[(image.height - 1 - y) * row]);
    bool ok = ilTexImage(image.width, image.height, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, copy.data());
    ilEnable(IL_FILE_OVERWRITE);
    ok = ok && ilSaveImage(path.c_str());
    ilDeleteImages(1, &name);
    return ok;
}
