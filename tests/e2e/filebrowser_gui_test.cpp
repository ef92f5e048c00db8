// The file browser of the real window: the folder shown as a path to type
// over, the filter, the list's length, and a folder entered from a scrolled
// list that shows its entries at once.

#include "support/PanelDriver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace panel_e2e;

namespace {

class FileBrowserGui : public ViewerFolderTest {
protected:
    void SetUp() override {
        ViewerFolderTest::SetUp();
        folder = fs::canonical(dir.path()).string();
    }
    void touch(const std::string& name) { std::ofstream(dir.file(name)) << "x"; }

    const MapEntry* folderField(const PanelMap& m) {
        for (const MapEntry& e : m.entries)
            if (e.kind == "folder") return &e;
        return nullptr;
    }

    std::string folder;
};

}  // namespace

TEST_F(FileBrowserGui, ATypedPathOpensADatasetAndTheFieldShowsWhereFilesGo) {
    fs::create_directory(dir.file("cavity"));
    gyreDataset(dir.file("cavity"), "flow");
    PanelViewer& v = start({});
    ASSERT_TRUE(v.ok());
    PanelMap m = v.map();
    const MapEntry* field = folderField(m);
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->label, folder);
    // Idle, the field shows the end of the path that fits.
    const std::string tail = field->state.substr(field->state.rfind('/'));
    EXPECT_EQ(tail, folder.substr(folder.rfind('/')));

    // A path that leads nowhere is refused in the window.
    v.mouse(v.at(field->x + field->w / 2, field->y + field->h / 2) + " click 1", 2);
    xdotool("type --delay 20 'nowhere'");
    xdotool("key Return");
    EXPECT_TRUE(v.waitMap([](const PanelMap& p) {
        return p.messages() == std::vector<std::string>{"error: No such file or folder: nowhere"};
    })) << v.map().messages().size();

    // A grid file that cannot be read is named in full.
    touch("broken.gri");
    v.mouse(v.at(field->x + field->w / 2, field->y + field->h / 2) + " click 1", 2);
    xdotool("type --delay 20 'broken.gri'");
    xdotool("key Return");
    EXPECT_TRUE(v.waitMap([&](const PanelMap& p) {
        return p.messages() == std::vector<std::string>{"error: Could not load " + folder +
                                                        "/broken.gri with its data file of time step 0"};
    }));
    EXPECT_EQ(v.map().status().front().label, "Datafile: Error! Only gri-files and xml-files are permitted.");

    // A click gives the whole path, selected: typing replaces it.
    const size_t mark = v.out().size();
    v.mouse(v.at(field->x + field->w / 2, field->y + field->h / 2) + " click 1", 2);
    xdotool("type --delay 20 '" + folder + "/cavity/flow.gri'");
    xdotool("key Return");
    ASSERT_TRUE(v.waitOutput([](const std::string& o) { return contains(o, "Distance Field OK\n"); }));
    EXPECT_TRUE(contains(v.out().substr(mark), "- Loading grid file 'flow.gri' ... \n")) << v.out().substr(mark);
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.enabled("checkbox", "Arrow plot") == 1; }));
    m = v.map();
    EXPECT_EQ(m.status().front().label, "Datafile: flow.gri");
    // The browser now lists the dataset's folder, where a screenshot goes.
    ASSERT_TRUE(v.click("rollout", "File Browser"));
    ASSERT_TRUE(v.waitMap([&](const PanelMap& p) { return p.find("folder", folder + "/cavity") != nullptr; }));
    std::string name;
    v.keyScreenshot(dir.file("cavity"), 700, 650, &name);
    EXPECT_TRUE(v.waitMap([&](const PanelMap& p) {
        return p.messages() == std::vector<std::string>{"info: Screenshot saved to " + folder + "/cavity/" + name};
    }));
    EXPECT_EQ(v.err(), "+ Error in grid file header:broken.gri: file is shorter than its 40-byte header.\n\n");
}

TEST_F(FileBrowserGui, OnlyDatasetsAndOptionsAreListedUnlessAllFilesAreAsked) {
    for (const char* name : {"flow.gri", "flow.00000.dat", "view.xml", "shot.png", "run.log"}) touch(name);
    for (int i = 10; i < 40; ++i) touch("opt" + std::to_string(i) + ".xml");
    PanelViewer& v = start({});
    ASSERT_TRUE(v.ok());
    PanelMap m = v.map();
    EXPECT_EQ(m.find("file", "shot.png"), nullptr);
    EXPECT_EQ(m.find("file", "run.log"), nullptr);
    EXPECT_NE(m.find("file", "flow.00000.dat"), nullptr);
    // 36 entries: the list is as tall as 45 % of the 700-row window holds,
    // 18 rows of 17 pixels.
    const MapEntry* list = m.find("filebrowser", "");
    ASSERT_NE(list, nullptr);
    EXPECT_GE(list->h, 18 * 17);
    EXPECT_LT(list->h, 19 * 17);

    ASSERT_TRUE(v.click("checkbox", "Show all files"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.state("checkbox", "Show all files") == "1"; }));
    MapEntry entry;
    EXPECT_TRUE(v.reveal("file", "shot.png", entry));
    EXPECT_TRUE(v.reveal("file", "run.log", entry));
}

TEST_F(FileBrowserGui, AFolderEnteredFromAScrolledListShowsItsEntriesAtOnce) {
    for (int i = 10; i < 40; ++i) fs::create_directory(dir.file("d" + std::to_string(i)));
    // Enough entries in the folder entered that the list keeps its height.
    for (int i = 10; i < 30; ++i) touch("d39/inside" + std::to_string(i) + ".gri");
    PanelViewer& v = start({});
    ASSERT_TRUE(v.ok());
    const MapEntry list = *v.map().find("filebrowser", "");
    // Scroll the list to its end with the wheel over it.
    v.mouse(v.at(list.x + list.w / 2, list.y + list.h / 2) + " click 5 click 5 click 5 click 5 click 5", 5);
    const MapEntry* last = v.map().find("file", "d39");
    ASSERT_NE(last, nullptr);
    ASSERT_GE(last->y, list.y);
    ASSERT_LE(last->y + last->h, list.y + list.h);

    ASSERT_TRUE(v.click("file", "d39"));
    ASSERT_TRUE(v.waitMap([](const PanelMap& p) { return p.find("file", "inside10.gri") != nullptr; }));
    // No further input: the entries lie inside the list once the window is still.
    const PanelMap m = v.map();
    for (const char* name : {"..", "inside10.gri"}) {
        const MapEntry* e = m.find("file", name);
        ASSERT_NE(e, nullptr) << name;
        EXPECT_GE(e->y, list.y) << name;
        EXPECT_LE(e->y + e->h, list.y + list.h) << name;
    }
}
