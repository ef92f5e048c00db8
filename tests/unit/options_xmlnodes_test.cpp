#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>
#include <string>

#include "options/XMLNodes.h"
#include "support/FileLimits.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

class XmlFiles : public ::testing::Test {
protected:
    std::string file(const std::string& name) const { return (dir / name).string(); }
    std::string writeFile(const std::string& name, const std::string& content) const {
        std::ofstream(file(name), std::ios::binary) << content;
        return file(name);
    }
    static std::string readFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    TempDir temp;
    const fs::path dir = temp.path();
};

// The message text a load throws, or "" when it does not throw.
std::string loadMessage(const std::string& path) {
    XMLNodes node;
    try {
        node.load(path);
    } catch (const char* message) {
        return message;
    }
    return "";
}

std::string parseMessage(std::istream& in) {
    XMLNodes node;
    try {
        node.parse(in);
    } catch (const char* message) {
        return message;
    }
    return "";
}

std::string parseMessage(const std::string& text) {
    std::istringstream in(text);
    return parseMessage(in);
}

std::string written(const XMLNodes& node, int level = 0) {
    std::ostringstream out;
    node.write(out, level);
    return out.str();
}

// An input that never ends: a start, then the same text over and over.
class EndlessBuffer : public std::streambuf {
public:
    EndlessBuffer(std::string start, std::string unit) : start_(std::move(start)), unit_(std::move(unit)) {
        setg(start_.data(), start_.data(), start_.data() + start_.size());
    }

protected:
    int_type underflow() override {
        setg(unit_.data(), unit_.data(), unit_.data() + unit_.size());
        return traits_type::to_int_type(unit_[0]);
    }

private:
    std::string start_;
    std::string unit_;
};

}  // namespace

TEST(XmlToUpper, ChangesOnlyAsciiLowerCaseLetters) {
    EXPECT_EQ(toUpper("flow_Visualization-options 1.0 \xe9z"), "FLOW_VISUALIZATION-OPTIONS 1.0 \xe9Z");
}

TEST_F(XmlFiles, LoadsTheRootElementWithCaseFreeLookups) {
    const std::string path = writeFile("o.xml",
                                       "<?xml version=\"1.0\"?>\r\n"
                                       "<flow_visualization_options>\r\n"
                                       "\t<Camera>\n\t\t<Zoom>1.5</Zoom>\n\t\t<zoom>2</ZOOM>\n\t</Camera>\n"
                                       "\t<background><index>0</index></background>\n"
                                       "</flow_visualization_options>\n");
    const XMLNodes root = XMLNodes::fromFile(path);
    EXPECT_EQ(root.name(), "FLOW_VISUALIZATION_OPTIONS");
    EXPECT_EQ(root.text(), "");
    EXPECT_EQ(root.childCount(), 2);
    const XMLNodes* camera = root.child("camera");
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->name(), "CAMERA");
    EXPECT_EQ(camera->child("zoom")->text(), "1.5");  // the first of the two
    const auto zooms = camera->children("zOOm");
    ASSERT_EQ(zooms.size(), 2u);
    EXPECT_EQ(zooms[0], camera->child("ZOOM"));
    EXPECT_EQ(zooms[1]->text(), "2");
    EXPECT_EQ(root.child("background")->child("index")->text(), "0");
    EXPECT_EQ(root.child("missing"), nullptr);
    EXPECT_TRUE(root.children("missing").empty());
}

TEST(XmlParse, TextRulesAndLooseClosingTags) {
    std::istringstream in("<a>1<b>2</b>3</a>");
    XMLNodes split(in);
    EXPECT_EQ(split.text(), "13");
    EXPECT_EQ(split.child("b")->text(), "2");

    std::istringstream spaced("<Text> x\t\r\n y </Text>");
    EXPECT_EQ(XMLNodes(spaced).text(), " x y ");

    // A closing tag closes whatever element is open, whatever its name.
    std::istringstream loose("<a><b>1</c><d>2</d></x>after");
    XMLNodes a(loose);
    EXPECT_EQ(a.childCount(), 2);
    EXPECT_EQ(a.child("b")->text(), "1");
    EXPECT_EQ(a.child("d")->text(), "2");
    std::string rest;
    loose >> rest;
    EXPECT_EQ(rest, "after");  // the parse stops right after the root's closing tag

    // Everything between the brackets is the name.
    std::istringstream attribute("<p k=\"v\">t</p>");
    EXPECT_EQ(XMLNodes(attribute).name(), "P K=\"V\"");
}

TEST_F(XmlFiles, LoadFailuresThrowTheirMessages) {
    EXPECT_EQ(loadMessage(file("absent.xml")), "Load Error");
    EXPECT_EQ(loadMessage(writeFile("empty.xml", "")), "Not a XML file!");
    EXPECT_EQ(loadMessage(writeFile("plain.xml", "<root>\n<?xml version=\"1.0\"?>\n</root>\n")), "Not a XML file!");
    // The declaration marker must be within the first 255 characters.
    EXPECT_EQ(loadMessage(writeFile("late.xml", std::string(251, ' ') + "<?xml\n<a>1</a>")), "Not a XML file!");
    EXPECT_EQ(
        loadMessage(writeFile("early.xml", std::string(250, ' ') + "<?xml" + std::string(400, 'z') + "\n<a>1</a>")),
        "");
    EXPECT_EQ(loadMessage(writeFile("ok.xml", "<?xml version=\"1.0\"?>\n<a>1</a>")), "");
    // Cut off anywhere inside the root element.
    const std::string whole = "<?xml version=\"1.0\"?>\n<a>\n\t<b>1</b>\n</a>";
    for (std::size_t cut : {22u, 23u, 24u, 26u, 29u, 31u, 33u, 36u, 38u, 39u}) {
        SCOPED_TRACE(cut);
        EXPECT_EQ(loadMessage(writeFile("cut.xml", whole.substr(0, cut))), "Bad File");
    }
}

TEST_F(XmlFiles, FailedLoadKeepsWhatWasParsed) {
    XMLNodes node;
    EXPECT_THROW(node.load(writeFile("cut.xml", "<?xml?>\n<root><camera><zoom>2</zoom><x>")), const char*);
    EXPECT_EQ(node.name(), "ROOT");
    ASSERT_NE(node.child("camera"), nullptr);
    EXPECT_EQ(node.child("camera")->child("zoom")->text(), "2");
}

TEST(XmlParse, DepthAndLengthAreBounded) {
    auto nested = [](int levels) {
        std::string open, close;
        for (int i = 0; i < levels; ++i) {
            open += "<n>";
            close += "</n>";
        }
        return open + "x" + close;
    };
    EXPECT_EQ(parseMessage(nested(XMLNodes::maxDepth + 1)), "");
    EXPECT_EQ(parseMessage(nested(XMLNodes::maxDepth + 2)), "Bad File");
    EXPECT_EQ(parseMessage(nested(1000000)), "Bad File");

    EndlessBuffer endlessOpen("", "<a>");
    std::istream deep(&endlessOpen);
    EXPECT_EQ(parseMessage(deep), "Bad File");
    EndlessBuffer endlessText("<a>", "text ");
    std::istream text(&endlessText);
    EXPECT_EQ(parseMessage(text), "Bad File");
    EndlessBuffer endlessName("<", "name");
    std::istream name(&endlessName);
    EXPECT_EQ(parseMessage(name), "Bad File");
}

TEST(XmlWrite, TheThreeFormsAreByteExact) {
    XMLNodes root("flow_visualization_options");
    XMLNodes* camera = root.addChild("camera");
    camera->addChild("zoom", "0.5");
    EXPECT_EQ(written(root),
              "<flow_visualization_options>\n\t<camera>\n\t\t<zoom>0.5</zoom>\n\t</camera>\n"
              "</flow_visualization_options>\n");
    EXPECT_EQ(written(*camera, 2), "\t\t<camera>\n\t\t\t<zoom>0.5</zoom>\n\t\t</camera>\n");

    // Text beside a child named like the node itself (after upper-casing) goes on its own line.
    XMLNodes same("A", "t");
    same.addChild("A", "u");
    EXPECT_EQ(written(same, 1), "\t<A>\n\t\tt\n\t\t<A>u</A>\n\t</A>\n");

    // Text beside other children stays on the opening line; the closing tag gets no indent.
    XMLNodes mixed("m", "t");
    mixed.addChild("c", "1");
    EXPECT_EQ(written(mixed, 1), "\t<m>t\t\t<c>1</c>\n</m>\n");

    XMLNodes upper;
    upper.setName("camera");
    upper.setText("");
    EXPECT_EQ(written(upper), "<CAMERA>\n</CAMERA>\n");
}

TEST_F(XmlFiles, SaveWritesTheDeclarationAndLoadsBackUpperCased) {
    XMLNodes root("root");
    XMLNodes* group = root.addChild("group");
    group->addChild("a", "1 2");
    group->addChild("b", "x");
    root.addChild("c", "-0.5");
    root.save(file("t.xml"));
    EXPECT_EQ(readFile(file("t.xml")),
              "<?xml version=\"1.0\"?>\r\n<root>\n\t<group>\n\t\t<a>1 2</a>\n\t\t<b>x</b>\n\t</group>\n"
              "\t<c>-0.5</c>\n</root>\n");
    EXPECT_EQ(folderEntries(dir), std::vector<std::string>{"t.xml"});

    const XMLNodes back = XMLNodes::fromFile(file("t.xml"));
    EXPECT_EQ(back.name(), "ROOT");
    EXPECT_EQ(back.child("group")->name(), "GROUP");
    EXPECT_EQ(back.child("group")->child("a")->text(), "1 2");
    EXPECT_EQ(back.child("group")->child("b")->text(), "x");
    EXPECT_EQ(back.child("c")->text(), "-0.5");
}

TEST_F(XmlFiles, FailedSaveReportsAndKeepsThePreviousFile) {
    XMLNodes root("root");
    try {
        root.save(file("no/such/dir/t.xml"));
        FAIL() << "saved into a missing directory";
    } catch (const char* message) {
        EXPECT_STREQ(message, "Save Error");
    }

    const std::string previous = writeFile("keep.xml", "previous content\n");
    for (int i = 0; i < 20000; ++i) root.addChild("value", std::to_string(i));

    // Let the file system refuse writes beyond 4 KiB, so the save breaks off midway.
    std::string message;
    try {
        const FileSizeLimit small(4096);
        root.save(previous);
    } catch (const char* m) {
        message = m;
    }

    EXPECT_EQ(message, "Save Error");
    EXPECT_EQ(readFile(previous), "previous content\n");
    EXPECT_EQ(folderEntries(dir), std::vector<std::string>{"keep.xml"});

    root.save(previous);  // without the limit the same save goes through
    EXPECT_EQ(XMLNodes::fromFile(previous).childCount(), 20000);
}

TEST(XmlTree, RemoveChildrenMatchesTheNameExactly) {
    XMLNodes root("r");
    root.addChild("point", "1");
    root.addChild("POINT", "2");
    root.addChild("point", "3");
    root.removeChildren("point");
    ASSERT_EQ(root.children("point").size(), 1u);
    EXPECT_EQ(root.child("point")->text(), "2");
}
