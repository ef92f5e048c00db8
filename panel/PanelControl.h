#pragma once

#include <memory>
#include <string>
#include <vector>

class PanelWindow;

// What a control is; the drawing layer switches on it.
enum class ControlKind {
    Window,
    Panel,
    Rollout,
    Checkbox,
    RadioGroup,
    RadioButton,
    Spinner,
    Button,
    StaticText,
    Separator,
    EditText,
    FileBrowser
};

// A short lower-case name of a kind ("checkbox", "rollout", ...).
const char* controlKindName(ControlKind kind);

// One node of the retained control tree. Containers own their children;
// every other pointer observes. Controls with an id report user changes to
// the window's callback; programmatic changes never call back.
class PanelControl {
public:
    static constexpr int noId = -1;

    virtual ~PanelControl();
    PanelControl(const PanelControl&) = delete;
    PanelControl& operator=(const PanelControl&) = delete;

    ControlKind kind() const { return kind_; }
    const std::string& label() const { return label_; }
    int id() const { return id_; }
    PanelControl* parent() const { return parent_; }
    PanelWindow* window() const { return window_; }
    const std::vector<std::unique_ptr<PanelControl>>& children() const { return children_; }

    // What the control does, shown when the pointer rests on it.
    const std::string& tooltip() const { return tooltip_; }
    void setTooltip(std::string text) { tooltip_ = std::move(text); }

    bool isEnabled() const { return enabled_; }
    // Whether enable/disable and the drawing reach the children: only a
    // closed rollout hides them.
    virtual bool isExpanded() const { return true; }

    // Sets this control's state and, through expanded containers only, that
    // of its children at any depth. A closed rollout keeps its children's
    // states as they are.
    void enable();
    void disable();

    // Re-reads the live variables of this control and of every control below
    // it, collapsed or not.
    void sync_live();

    // A hidden control keeps its place in the tree and its state but is not
    // drawn (a choice the open dataset does not offer).
    bool isShown() const { return shown_; }
    void setShown(bool shown) { shown_ = shown; }

    // Adds a child; the control tree takes ownership.
    template <class T>
    T* adopt(std::unique_ptr<T> child) {
        T* raw = child.get();
        attach(std::move(child));
        return raw;
    }

protected:
    PanelControl(ControlKind kind, std::string label, int id);

    // Reports a user change to the window's callback, if this control has an id.
    void reportChange() const;
    virtual void readLive() {}

private:
    void attach(std::unique_ptr<PanelControl> child);
    void setEnabled(bool enabled);
    void setWindow(PanelWindow* window);

    ControlKind kind_;
    std::string label_;
    std::string tooltip_;
    int id_;
    bool enabled_ = true;
    bool shown_ = true;
    PanelControl* parent_ = nullptr;
    PanelWindow* window_ = nullptr;
    std::vector<std::unique_ptr<PanelControl>> children_;

    friend class PanelWindow;
};
