// The file browser walks the real file system in a temporary folder and
// changes the process's current directory as it goes.
#include "panel/PanelWindow.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<int> reported;
void record(int id) { reported.push_back(id); }

class FileBrowser : public ::testing::Test {
protected:
    void SetUp() override {
        reported.clear();
        saved_ = fs::current_path();
        ASSERT_FALSE(temp_.path().empty());
        root_ = fs::canonical(temp_.path());
        fs::create_directories(root_ / "zeta");
        fs::create_directories(root_ / "Alpha");
        fs::create_directories(root_ / ".hidden");
        touch(root_ / "b.gri");
        touch(root_ / "a.xml");
        touch(root_ / ".secret");
        touch(root_ / "zeta" / "inner.gri");
        fs::current_path(root_);
    }
    void TearDown() override { fs::current_path(saved_); }
    static void touch(const fs::path& path) { std::ofstream(path) << "x"; }

    static std::vector<std::string> names(const PanelFileBrowser& browser) {
        std::vector<std::string> result;
        for (const FileBrowserEntry& entry : browser.entries()) {
            result.push_back(entry.name + (entry.isDirectory ? "/" : ""));
        }
        return result;
    }

    TempDir temp_;
    fs::path saved_;
    fs::path root_;
    PanelWindow window{record};
};

TEST_F(FileBrowser, ListsParentThenFoldersThenFilesSortedWithoutHiddenNames) {
    PanelFileBrowser* browser = window.add_filebrowser_to_panel(&window, "", 3);
    EXPECT_EQ(names(*browser), (std::vector<std::string>{"../", "Alpha/", "zeta/", "a.xml", "b.gri"}));
}

TEST_F(FileBrowser, EnteringFoldersChangesTheCurrentDirectory) {
    PanelFileBrowser* browser = window.add_filebrowser_to_panel(&window, "", 3);
    ASSERT_TRUE(browser->userActivate(2));  // zeta/
    EXPECT_TRUE(fs::equivalent(fs::current_path(), root_ / "zeta"));
    EXPECT_EQ(names(*browser), (std::vector<std::string>{"../", "inner.gri"}));
    EXPECT_TRUE(reported.empty()) << "walking folders calls nothing back";

    ASSERT_TRUE(browser->userActivate(1));  // inner.gri
    EXPECT_EQ(browser->get_file(), "inner.gri");
    EXPECT_EQ(reported, std::vector<int>{3});
    EXPECT_TRUE(fs::exists(browser->get_file())) << "the picked name is relative to the current directory";

    ASSERT_TRUE(browser->userActivate(0));  // ..
    EXPECT_TRUE(fs::equivalent(fs::current_path(), root_));
    EXPECT_EQ(browser->entries().size(), 5u);
}

TEST_F(FileBrowser, AVanishedFolderIsRefusedAndTheListRefreshed) {
    PanelFileBrowser* browser = window.add_filebrowser_to_panel(&window, "", 3);
    fs::remove_all(root_ / "Alpha");
    EXPECT_FALSE(browser->userActivate(1));
    EXPECT_TRUE(fs::equivalent(fs::current_path(), root_));
    EXPECT_EQ(names(*browser), (std::vector<std::string>{"../", "zeta/", "a.xml", "b.gri"}));
    EXPECT_FALSE(browser->userActivate(99));
}

TEST_F(FileBrowser, DisabledBrowserNeitherWalksNorPicks) {
    PanelFileBrowser* browser = window.add_filebrowser_to_panel(&window, "", 3);
    browser->disable();
    EXPECT_FALSE(browser->userActivate(2));
    EXPECT_FALSE(browser->userActivate(3));
    EXPECT_TRUE(fs::equivalent(fs::current_path(), root_));
    EXPECT_TRUE(browser->get_file().empty());
    EXPECT_TRUE(reported.empty());
}

TEST_F(FileBrowser, FilesWrittenMeanwhileAppearWhenItsSectionIsOpened) {
    PanelRollout* section = window.add_rollout("File Browser", false, PanelStyle::Embossed);
    PanelFileBrowser* browser = window.add_filebrowser_to_panel(section, "", 3);
    touch(root_ / "later.gri");
    EXPECT_EQ(browser->entries().size(), 5u);
    section->userSetOpen(true);
    EXPECT_EQ(names(*browser).back(), "later.gri");
}

TEST_F(FileBrowser, FilesWrittenByACallbackAppearAfterIt) {
    PanelFileBrowser* browser = window.add_filebrowser_to_panel(&window, "", 3);
    PanelButton* save = window.add_button("Save Options", 4);
    touch(root_ / "c.xml");
    EXPECT_EQ(browser->entries().size(), 5u);
    save->userPress();
    EXPECT_EQ(names(*browser).back(), "c.xml");
}

TEST_F(FileBrowser, ListsGridDataAndOptionsFilesUnlessAllAreAskedFor) {
    for (const char* name : {"shot.png", "run.log", "flow.00000.dat", "old.XML", "mixed.Xml", "gri"})
        touch(root_ / name);
    PanelFileBrowser* browser = window.add_filebrowser_to_panel(&window, "", 3);
    EXPECT_EQ(names(*browser), (std::vector<std::string>{"../", "Alpha/", "zeta/", "a.xml", "b.gri", "flow.00000.dat",
                                                         "mixed.Xml", "old.XML"}));
    browser->setShowAllFiles(true);
    EXPECT_EQ(names(*browser).size(), 11u);
    EXPECT_EQ(names(*browser).back(), "shot.png");
    browser->setShowAllFiles(false);
    EXPECT_EQ(names(*browser).size(), 8u);
}

std::vector<std::pair<bool, std::string>> notices;
void note(bool refused, const std::string& text) { notices.emplace_back(refused, text); }

TEST_F(FileBrowser, ATypedPathEntersItsFolderOrPicksItsFile) {
    notices.clear();
    window.setNoticeHandler(note);
    PanelFileBrowser* browser = window.add_filebrowser_to_panel(&window, "", 3);
    EXPECT_EQ(browser->folder(), root_.string());
    const unsigned changes = browser->folderChanges();

    ASSERT_TRUE(browser->userEnterPath("zeta"));
    EXPECT_EQ(browser->folder(), (root_ / "zeta").string());
    EXPECT_EQ(browser->folderChanges(), changes + 1);
    EXPECT_TRUE(reported.empty());

    // A file elsewhere: its folder is entered and its name picked, as a click there would.
    ASSERT_TRUE(browser->userEnterPath((root_ / "b.gri").string()));
    EXPECT_TRUE(fs::equivalent(fs::current_path(), root_));
    EXPECT_EQ(browser->get_file(), "b.gri");
    EXPECT_EQ(reported, std::vector<int>{3});
    ASSERT_TRUE(browser->userEnterPath("zeta/inner.gri"));
    EXPECT_EQ(browser->get_file(), "inner.gri");
    EXPECT_TRUE(fs::equivalent(fs::current_path(), root_ / "zeta"));

    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", root_.c_str(), 1);
    EXPECT_TRUE(browser->userEnterPath("~/Alpha"));
    setenv("HOME", home.c_str(), 1);
    EXPECT_EQ(browser->folder(), (root_ / "Alpha").string());

    EXPECT_FALSE(browser->userEnterPath("nowhere/x.gri"));
    EXPECT_FALSE(browser->userEnterPath(""));
    EXPECT_EQ(browser->folder(), (root_ / "Alpha").string());
    EXPECT_EQ(notices, (std::vector<std::pair<bool, std::string>>{{true, "No such file or folder: nowhere/x.gri"},
                                                                  {true, "No such file or folder: "}}));
    EXPECT_EQ(reported, (std::vector<int>{3, 3}));
}

}  // namespace
