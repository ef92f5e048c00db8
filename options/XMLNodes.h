#pragma once

#include <cstddef>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

// A copy of text with every lower-case ASCII letter made upper-case.
std::string toUpper(const std::string& text);

// One element of the small XML subset the options file uses: nested elements
// with text content, no attributes, comments, entities or empty-element tags.
// A node is both a document and an element: loading a file fills the node with
// the file's root element. Names read from a file are stored upper-cased and
// lookups upper-case the name asked for, so they ignore the file's case.
//
// Failures are thrown as message texts (const char*): "Load Error",
// "Not a XML file!", "Bad File", "Save Error".
class XMLNodes {
public:
    // Elements nested deeper than this below the node being parsed are refused
    // with "Bad File", so a hostile file cannot exhaust the stack.
    static constexpr int maxDepth = 64;
    // One parse reads at most this many characters; an endless stream fails
    // with "Bad File" instead of growing without end.
    static constexpr std::size_t maxInputSize = 16u * 1024u * 1024u;

    XMLNodes();
    // The name is kept as given (not upper-cased). Reading a file is load(),
    // or fromFile(): a string argument here is always a name.
    explicit XMLNodes(const std::string& name);
    XMLNodes(const std::string& name, const std::string& text);
    explicit XMLNodes(std::istream& in);  // parse(in)
    XMLNodes(XMLNodes&&) = default;
    XMLNodes& operator=(XMLNodes&&) = default;
    virtual ~XMLNodes();

    static XMLNodes fromFile(const std::string& fileName);  // load(fileName)

    void load(const std::string& fileName);
    // Writes to a temporary file beside the target and renames it over the
    // target only once complete, so a failed save keeps the previous file.
    void save(const std::string& fileName) const;
    void parse(std::istream& in);
    void write(std::ostream& out, int level) const;

    XMLNodes* addChild(const std::string& name);
    XMLNodes* addChild(const std::string& name, const std::string& text);
    XMLNodes* child(const std::string& name) const;
    std::vector<XMLNodes*> children(const std::string& name) const;
    // Compares with the name exactly as given (no upper-casing).
    void removeChildren(const std::string& name);

    std::string name() const { return name_; }
    std::string text() const { return text_; }
    void setName(const std::string& name) { name_ = toUpper(name); }
    void setText(const std::string& text) { text_ = text; }
    int childCount() const { return childCount_; }

private:
    struct ParseBudget;
    void parseElement(std::istream& in, ParseBudget& budget, int depth, int firstNameChar);

    int childCount_ = 0;
    std::string name_;
    std::string text_;
    std::vector<std::unique_ptr<XMLNodes>> children_;
};
