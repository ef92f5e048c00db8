#pragma once

#include <functional>
#include <string>
#include <vector>

enum class MessageKind { Info, Warning, Error };

struct StatusMessage {
    MessageKind kind = MessageKind::Info;
    std::string text;
    bool operator==(const StatusMessage& o) const { return kind == o.kind && text == o.text; }
};

// What the user's last action caused that needs saying (a refusal, a warning,
// a failure, where a file went), shown under the status line until the next
// mouse press or key. The console keeps its own lines; these repeat them in
// the window. The streamline placement's messages belong to the placement
// whose result is on the screen, so each placement replaces those of the
// last; everything else adds up, each text once.
class StatusBoard {
public:
    void post(MessageKind kind, const std::string& text);
    void setPlacementMessages(std::vector<StatusMessage> messages);
    void clear();

    // The other messages in the order posted, then the placement's.
    std::vector<StatusMessage> messages() const;
    bool empty() const { return posted_.empty() && placement_.empty(); }

private:
    std::vector<StatusMessage> posted_;
    std::vector<StatusMessage> placement_;
};

// A file name as the user should read it: absolute and without "." or ".."
// steps (the file browser moves the current directory around).
std::string shownPath(const std::string& name);

// Breaks `text` into lines no wider than `width` by `measure`: at blanks where
// it can, inside a word (a long path) where it must. Every line holds at
// least one character.
std::vector<std::string> wrapText(const std::string& text, int width,
                                  const std::function<int(const std::string&)>& measure);
