#include "render/FieldView.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <fontconfig/fontconfig.h>
#include <stb_truetype.h>

#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <vector>

// Bitmap fonts have one size. A picture drawn at N times the window's size
// gets its text from a TrueType font rasterised at N times the bitmap
// font's size instead: the face fontconfig offers for Helvetica, the family
// of GLUT's bitmap fonts (Liberation Sans or Nimbus Sans where installed).

namespace {

int currentScale = 1;

std::vector<unsigned char> readFontFile() {
    std::vector<unsigned char> data;
    if (!FcInit()) return data;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("Helvetica:style=Regular"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcChar8* file = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        std::ifstream in(reinterpret_cast<const char*>(file), std::ios::binary);
        data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return data;
}

// Empty when no usable font was found (said once on standard error).
const std::vector<unsigned char>& fontData() {
    static const std::vector<unsigned char> data = [] {
        std::vector<unsigned char> bytes = readFontFile();
        stbtt_fontinfo info;
        if (bytes.empty() || !stbtt_InitFont(&info, bytes.data(), stbtt_GetFontOffsetForIndex(bytes.data(), 0))) {
            std::cerr << "No TrueType font found (install fonts-liberation2): text in pictures larger than the "
                         "window keeps its window size"
                      << std::endl;
            bytes.clear();
        }
        return bytes;
    }();
    return data;
}

// The printable characters of Latin-1, as the bitmap fonts have them.
constexpr int kLowFirst = 32, kLowCount = 95, kHighFirst = 160, kHighCount = 96;

struct Atlas {
    GLuint texture = 0;
    int side = 0;
    std::vector<stbtt_packedchar> low = std::vector<stbtt_packedchar>(kLowCount);
    std::vector<stbtt_packedchar> high = std::vector<stbtt_packedchar>(kHighCount);
};

// The characters of one size packed into an alpha texture; null without a font.
const Atlas* atlasFor(int emPixels) {
    static std::map<int, Atlas> atlases;
    const auto known = atlases.find(emPixels);
    if (known != atlases.end()) return known->second.texture ? &known->second : nullptr;
    Atlas& atlas = atlases[emPixels];
    const std::vector<unsigned char>& font = fontData();
    for (int side = 256; !font.empty() && side <= 8192; side *= 2) {
        std::vector<unsigned char> pixels(static_cast<std::size_t>(side) * side);
        stbtt_pack_context context;
        if (!stbtt_PackBegin(&context, pixels.data(), side, side, 0, 1, nullptr)) break;
        stbtt_pack_range ranges[2] = {};
        ranges[0] = {
            STBTT_POINT_SIZE(static_cast<float>(emPixels)), kLowFirst, nullptr, kLowCount, atlas.low.data(), 0, 0};
        ranges[1] = {
            STBTT_POINT_SIZE(static_cast<float>(emPixels)), kHighFirst, nullptr, kHighCount, atlas.high.data(), 0, 0};
        const int packed = stbtt_PackFontRanges(&context, font.data(), 0, ranges, 2);
        stbtt_PackEnd(&context);
        if (!packed) continue;
        GLint unit = 0, alignment = 4;
        glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
        glActiveTexture(GL_TEXTURE1);
        glGenTextures(1, &atlas.texture);
        glBindTexture(GL_TEXTURE_2D, atlas.texture);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA8, side, side, 0, GL_ALPHA, GL_UNSIGNED_BYTE, pixels.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glBindTexture(GL_TEXTURE_2D, 0);
        glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
        glActiveTexture(static_cast<GLenum>(unit));
        atlas.side = side;
        break;
    }
    return atlas.texture ? &atlas : nullptr;
}

int emPixelsOf(void* font) {
    if (font == GLUT_BITMAP_HELVETICA_10) return 10;
    if (font == GLUT_BITMAP_HELVETICA_18) return 18;
    return 12;
}

// The text as textured quads from the raster position, in its colour, over
// whatever was drawn (unit 1, which the scene leaves unused). Like a bitmap
// its glyphs take the raster position's depth, so that what is drawn later
// behind them stays behind them.
void drawTrueType(void* font, const std::string& text, const Atlas& atlas) {
    GLboolean valid = GL_FALSE;
    glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    if (!valid) return;
    GLfloat position[4], color[4];
    GLint viewport[4], unit = 0, program = 0;
    glGetFloatv(GL_CURRENT_RASTER_POSITION, position);  // window x, y and depth
    glGetFloatv(GL_CURRENT_RASTER_COLOR, color);
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);

    glUseProgram(0);
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_TEXTURE_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    // Window pixels, and z as the window depth.
    glOrtho(viewport[0], viewport[0] + viewport[2], viewport[1], viewport[1] + viewport[3], 0.0, -1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDepthFunc(GL_ALWAYS);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    glActiveTexture(GL_TEXTURE1);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, atlas.texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColor4fv(color);

    glBegin(GL_QUADS);
    float pen = position[0];
    for (const char ch : text) {
        const int c = static_cast<unsigned char>(ch);
        const stbtt_packedchar* chars = nullptr;
        int index = 0;
        if (c >= kLowFirst && c < kLowFirst + kLowCount) chars = atlas.low.data(), index = c - kLowFirst;
        else if (c >= kHighFirst) chars = atlas.high.data(), index = c - kHighFirst;
        if (chars) {
            float x = pen, y = 0.0f;
            stbtt_aligned_quad q;
            stbtt_GetPackedQuad(chars, atlas.side, atlas.side, index, &x, &y, &q, 1);
            glMultiTexCoord2f(GL_TEXTURE1, q.s0, q.t0);
            glVertex3f(q.x0, position[1] - q.y0, position[2]);
            glMultiTexCoord2f(GL_TEXTURE1, q.s1, q.t0);
            glVertex3f(q.x1, position[1] - q.y0, position[2]);
            glMultiTexCoord2f(GL_TEXTURE1, q.s1, q.t1);
            glVertex3f(q.x1, position[1] - q.y1, position[2]);
            glMultiTexCoord2f(GL_TEXTURE1, q.s0, q.t1);
            glVertex3f(q.x0, position[1] - q.y1, position[2]);
        }
        pen += static_cast<float>(glutBitmapWidth(font, c) * currentScale);
    }
    glEnd();

    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
    glActiveTexture(static_cast<GLenum>(unit));
    glUseProgram(static_cast<GLuint>(program));
}

}  // namespace

void setPixelScale(int scale) { currentScale = scale > 1 ? scale : 1; }
int pixelScale() { return currentScale; }

void drawBitmapText(void* font, const std::string& text) {
    const Atlas* atlas = currentScale > 1 ? atlasFor(emPixelsOf(font) * currentScale) : nullptr;
    if (atlas) {
        drawTrueType(font, text, *atlas);
        return;
    }
    for (char c : text) glutBitmapCharacter(font, c);
}
