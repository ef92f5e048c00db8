#pragma once

#include "panel/PanelControl.h"

// A one-line text field without a live variable; the program reads its
// text when it needs it. Width 0 means the drawing layer's default.
class PanelEditText : public PanelControl {
public:
    PanelEditText(std::string label, int id) : PanelControl(ControlKind::EditText, std::move(label), id) {}

    const std::string& get_text() const { return text_; }
    void set_text(std::string text) { text_ = std::move(text); }

    int width() const { return width_; }
    void set_w(int pixels) { width_ = pixels; }

    // Typing changes the text at once (a save reads it even before the
    // field is left); finishing the edit (Enter or leaving the field) calls
    // back. Both are refused while disabled.
    bool userEdit(std::string text);
    bool userCommit();

private:
    std::string text_;
    int width_ = 0;
};
