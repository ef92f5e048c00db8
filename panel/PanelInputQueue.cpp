#include "panel/PanelInputQueue.h"

void PanelInputQueue::pushMove(int x, int y) {
    if (!events_.empty() && events_.back().type == PanelInputEvent::Type::Move) {
        events_.back().x = x;
        events_.back().y = y;
        return;
    }
    PanelInputEvent event;
    event.type = PanelInputEvent::Type::Move;
    event.x = x;
    event.y = y;
    events_.push_back(event);
}

void PanelInputQueue::pushButton(int button, bool down, int x, int y, int modifiers) {
    PanelInputEvent event;
    event.type = PanelInputEvent::Type::Button;
    event.button = button;
    event.down = down;
    event.x = x;
    event.y = y;
    event.modifiers = modifiers;
    events_.push_back(event);
}

void PanelInputQueue::pushWheel(int steps, int x, int y) {
    PanelInputEvent event;
    event.type = PanelInputEvent::Type::Wheel;
    event.wheel = steps;
    event.x = x;
    event.y = y;
    events_.push_back(event);
}

void PanelInputQueue::pushKeyStroke(int key, bool special, int modifiers) {
    PanelInputEvent event;
    event.type = PanelInputEvent::Type::Key;
    event.key = key;
    event.special = special;
    event.modifiers = modifiers;
    event.down = true;
    events_.push_back(event);
    event.down = false;
    events_.push_back(event);
}

std::vector<PanelInputEvent> PanelInputQueue::takeFrame() {
    std::vector<PanelInputEvent> frame;
    if (events_.empty()) {
        return frame;
    }
    frame.push_back(events_.front());
    events_.pop_front();
    return frame;
}
