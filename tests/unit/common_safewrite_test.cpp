// The safe writer: what it replaces, what it must never touch, and what a
// failed write leaves behind (nothing but the previous file).

#include "common/SafeFileWrite.h"
#include "support/FileLimits.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writePlain(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

mode_t modeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info.st_mode & 07777;
}

using Names = std::vector<std::string>;

TEST(SafeWrite, ReplacesTheContentKeepingPermissionsAndSymlinks) {
    const TempDir dir;
    const std::string target = dir.file("options.xml");
    writePlain(target, "old");
    ::chmod(target.c_str(), 0600);
    std::string why;
    ASSERT_TRUE(writeFileSafely(target, "new content", &why)) << why;
    EXPECT_EQ(readFile(target), "new content");
    EXPECT_EQ(modeOf(target), 0600u);

    // A new file gets 0666 less the umask, as any other created file.
    const mode_t oldMask = ::umask(027);
    const bool written = writeFileSafely(dir.file("fresh.png"), "x");
    ::umask(oldMask);
    ASSERT_TRUE(written);
    EXPECT_EQ(modeOf(dir.file("fresh.png")), 0640u);

    // A symlinked file (relative link into another folder) is saved through
    // to its real target; the link stays a link.
    fs::create_directory(dir.file("real"));
    writePlain(dir.file("real/settings.xml"), "real old");
    ::chmod(dir.file("real/settings.xml").c_str(), 0604);
    fs::create_symlink("real/settings.xml", dir.file("link.xml"));
    ASSERT_TRUE(writeFileSafely(dir.file("link.xml"), "through the link", &why)) << why;
    EXPECT_TRUE(fs::is_symlink(dir.file("link.xml")));
    EXPECT_EQ(fs::read_symlink(dir.file("link.xml")), "real/settings.xml");
    EXPECT_EQ(readFile(dir.file("real/settings.xml")), "through the link");
    EXPECT_EQ(modeOf(dir.file("real/settings.xml")), 0604u);

    EXPECT_EQ(folderEntries(dir.path()), (Names{"fresh.png", "link.xml", "options.xml", "real"}));
    EXPECT_EQ(folderEntries(dir.file("real")), Names{"settings.xml"});
}

TEST(SafeWrite, NeverOpensAnExistingFileOrAPlantedSymlink) {
    const TempDir dir;
    const std::string target = dir.file("options.xml");
    // The names a fixed temporary file would use: a user's own file and a
    // symlink planted to redirect the write to another file.
    writePlain(dir.file("options.xml.tmp"), "the user's file");
    writePlain(dir.file("victim"), "must stay");
    fs::create_symlink(dir.file("victim"), dir.file(".options.xml.tmp"));

    std::string why;
    ASSERT_TRUE(writeFileSafely(target, "saved", &why)) << why;
    EXPECT_EQ(readFile(target), "saved");
    EXPECT_EQ(readFile(dir.file("options.xml.tmp")), "the user's file");
    EXPECT_EQ(readFile(dir.file("victim")), "must stay");
    EXPECT_TRUE(fs::is_symlink(dir.file(".options.xml.tmp")));
    EXPECT_EQ(folderEntries(dir.path()), (Names{".options.xml.tmp", "options.xml", "options.xml.tmp", "victim"}));

    // Numbered screenshots never replace a file that is there.
    EXPECT_FALSE(writeFileSafely(target, "again", &why, IfTargetExists::Fail));
    EXPECT_EQ(why, "cannot write '" + target + "': it exists");
    EXPECT_EQ(readFile(target), "saved");
}

TEST(SafeWrite, AFailedWriteKeepsThePreviousFileAndLeavesNothingElse) {
    const TempDir dir;
    const std::string target = dir.file("lines.csv");
    writePlain(target, "previous export");
    const std::string big(200000, 'x');
    std::string why;
    {
        const FileSizeLimit diskFull(4096);
        EXPECT_FALSE(writeFileSafely(target, big, &why));
    }
    EXPECT_EQ(why, "cannot write '" + target + "': File too large");
    EXPECT_EQ(readFile(target), "previous export");

    // Streamed content fails the same way, in the middle of the stream.
    {
        const FileSizeLimit diskFull(4096);
        EXPECT_FALSE(writeFileSafely(
            target,
            [](std::ostream& out) {
                for (int i = 0; i < 100000; ++i) out << i << ',' << i * 0.5 << '\n';
            },
            &why));
    }
    EXPECT_EQ(readFile(target), "previous export");

    // An exception from the producer is passed on.
    EXPECT_THROW(writeFileSafely(target,
                                 [](std::ostream& out) {
                                     out << "half";
                                     throw 1;
                                 }),
                 int);
    EXPECT_EQ(readFile(target), "previous export");
    EXPECT_EQ(folderEntries(dir.path()), Names{"lines.csv"});

    // Without a limit the same streamed write goes through.
    ASSERT_TRUE(writeFileSafely(
        target, [&](std::ostream& out) { out << big; }, &why))
        << why;
    EXPECT_EQ(readFile(target), big);
}

TEST(SafeWrite, TargetsThatCannotBeWrittenAreNamedWithTheReason) {
    const TempDir dir;
    std::string why;
    EXPECT_FALSE(writeFileSafely(dir.file("missing/out.png"), "x", &why));
    EXPECT_EQ(why, "cannot create a file in '" + dir.file("missing") + "': No such file or directory");

    fs::create_directory(dir.file("folder"));
    EXPECT_FALSE(writeFileSafely(dir.file("folder"), "x", &why));
    EXPECT_EQ(why, "cannot write '" + dir.file("folder") + "': not a regular file");
    EXPECT_TRUE(fs::is_directory(dir.file("folder")));
}

TEST(SafeWrite, RootSavingAUsersFileKeepsItsOwner) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root may give a file to another user";
    const TempDir dir;
    const std::string target = dir.file("options.xml");
    writePlain(target, "old");
    ASSERT_EQ(::chown(target.c_str(), 4321, 4322), 0);
    ASSERT_TRUE(writeFileSafely(target, "new"));
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 4321u);
    EXPECT_EQ(info.st_gid, 4322u);
}

}  // namespace
