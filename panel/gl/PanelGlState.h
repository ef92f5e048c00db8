#pragma once

// The ImGui OpenGL 2 renderer draws with the fixed-function pipeline and
// client-side arrays. For its lifetime this object puts the GL state it
// needs in place (no shader program, no textures bound or enabled on any
// unit, no buffer objects, no polygon or line smoothing, the viewport over
// the whole window) and puts back the scene's state afterwards.
class PanelGlState {
public:
    PanelGlState(int windowWidth, int windowHeight);
    ~PanelGlState();
    PanelGlState(const PanelGlState&) = delete;
    PanelGlState& operator=(const PanelGlState&) = delete;

private:
    int program_ = 0;
};
