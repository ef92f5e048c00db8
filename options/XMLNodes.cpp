#include "options/XMLNodes.h"

#include <algorithm>
#include <fstream>
#include <istream>
#include <ostream>

#include "common/SafeFileWrite.h"

namespace {
const char* const kLoadError = "Load Error";
const char* const kNotXml = "Not a XML file!";
const char* const kBadFile = "Bad File";
const char* const kSaveError = "Save Error";

// The declaration line is read up to this many characters; the rest of it is skipped.
constexpr std::size_t kFirstLineLength = 255;
}  // namespace

struct XMLNodes::ParseBudget {
    std::size_t remaining = XMLNodes::maxInputSize;

    // The next character; a read error, the end of the input or an exhausted
    // budget all mean the element cannot be completed.
    int next(std::istream& in) {
        if (remaining == 0) throw kBadFile;
        --remaining;
        const int c = in.get();
        if (c == std::istream::traits_type::eof()) throw kBadFile;
        return c;
    }
};

std::string toUpper(const std::string& text) {
    std::string upper = text;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

XMLNodes::XMLNodes() = default;
XMLNodes::XMLNodes(const std::string& name) : name_(name) {}
XMLNodes::XMLNodes(const std::string& name, const std::string& text) : name_(name), text_(text) {}
XMLNodes::XMLNodes(std::istream& in) { parse(in); }
XMLNodes::~XMLNodes() = default;

XMLNodes XMLNodes::fromFile(const std::string& fileName) {
    XMLNodes node;
    node.load(fileName);
    return node;
}

void XMLNodes::load(const std::string& fileName) {
    std::ifstream in(fileName);
    if (!in.good()) throw kLoadError;

    std::string firstLine;
    int c = 0;
    while (firstLine.size() < kFirstLineLength && (c = in.get()) != std::ifstream::traits_type::eof() && c != '\n') {
        firstLine += static_cast<char>(c);
    }
    if (firstLine.find("<?xml") == std::string::npos) throw kNotXml;
    if (firstLine.size() == kFirstLineLength) in.ignore(static_cast<std::streamsize>(maxInputSize), '\n');

    parse(in);
}

void XMLNodes::save(const std::string& fileName) const {
    const bool saved = writeFileSafely(fileName, [this](std::ostream& out) {
        out << "<?xml version=\"1.0\"?>\r\n";
        write(out, 0);
    });
    if (!saved) throw kSaveError;
}

void XMLNodes::parse(std::istream& in) {
    ParseBudget budget;
    parseElement(in, budget, 0, -1);
}

// firstNameChar >= 0: the caller has already read this element's "<" and the
// character after it, which starts the name.
void XMLNodes::parseElement(std::istream& in, ParseBudget& budget, int depth, int firstNameChar) {
    if (depth > maxDepth) throw kBadFile;

    enum class State { BeforeTag, InElement, Done };
    State state = State::BeforeTag;

    // Everything up to the next ">" is the name, attributes included.
    auto readName = [&](int c) {
        std::string raw;
        for (; c != '>'; c = budget.next(in)) raw += static_cast<char>(c);
        name_ = toUpper(name_ + raw);
    };

    if (firstNameChar >= 0) {
        state = State::InElement;
        readName(firstNameChar);
    }
    while (state != State::Done) {
        const int c = budget.next(in);
        if (c == '<') {
            if (state == State::BeforeTag) {
                state = State::InElement;
                readName(budget.next(in));
            } else {
                const int after = budget.next(in);
                if (after == '/') {
                    // The closing tag's name is not compared with the opening one.
                    while (budget.next(in) != '>') {
                    }
                    state = State::Done;
                } else {
                    ++childCount_;
                    children_.push_back(std::make_unique<XMLNodes>());
                    children_.back()->parseElement(in, budget, depth + 1, after);
                }
            }
        } else if (c != '\n' && c != '\t' && c != '\r') {
            text_ += static_cast<char>(c);
        }
    }
}

void XMLNodes::write(std::ostream& out, int level) const {
    const std::string indent(static_cast<std::size_t>(level), '\t');
    if (text_.empty()) {
        out << indent << '<' << name_ << ">\n";
        for (const auto& c : children_) c->write(out, level + 1);
        out << indent << "</" << name_ << ">\n";
    } else if (child(name_) != nullptr) {
        out << indent << '<' << name_ << ">\n" << indent << '\t' << text_ << '\n';
        for (const auto& c : children_) c->write(out, level + 1);
        out << indent << "</" << name_ << ">\n";
    } else {
        out << indent << '<' << name_ << '>' << text_;
        for (const auto& c : children_) c->write(out, level + 1);
        out << "</" << name_ << ">\n";
    }
}

XMLNodes* XMLNodes::addChild(const std::string& name) { return addChild(name, std::string()); }

XMLNodes* XMLNodes::addChild(const std::string& name, const std::string& text) {
    children_.push_back(std::make_unique<XMLNodes>(name, text));
    return children_.back().get();
}

XMLNodes* XMLNodes::child(const std::string& name) const {
    const std::string wanted = toUpper(name);
    for (const auto& c : children_) {
        if (c->name_ == wanted) return c.get();
    }
    return nullptr;
}

std::vector<XMLNodes*> XMLNodes::children(const std::string& name) const {
    const std::string wanted = toUpper(name);
    std::vector<XMLNodes*> found;
    for (const auto& c : children_) {
        if (c->name_ == wanted) found.push_back(c.get());
    }
    return found;
}

void XMLNodes::removeChildren(const std::string& name) {
    children_.erase(std::remove_if(children_.begin(), children_.end(),
                                   [&](const std::unique_ptr<XMLNodes>& c) { return c->name_ == name; }),
                    children_.end());
}
