#pragma once

// The texture units are fixed for the whole run; the shader pair samples
// each texture from its unit. Unit 1 is not used.
namespace textureUnit {
constexpr int velocity = 0;      // velocity x, y and magnitude
constexpr int dataChannel = 2;   // the data channel shown as the background
constexpr int backgroundTf = 3;  // colour table of the background's transfer function
constexpr int arrowImage = 4;    // the arrow glyph
constexpr int arrowTf = 5;       // colour table of the arrows' transfer function
}  // namespace textureUnit
