#pragma once

// GLUT's mouse button and state codes, here so that the GL-free core needs
// no GL headers.
namespace mouse {
constexpr int leftButton = 0;
constexpr int middleButton = 1;
constexpr int rightButton = 2;
constexpr int pressed = 0;
constexpr int released = 1;
}  // namespace mouse
