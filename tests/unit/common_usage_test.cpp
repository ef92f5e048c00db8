// The help layout every program shares, and the texts of version and usage errors.

#include "common/Usage.h"

#include <gtest/gtest.h>

namespace {

TEST(Usage, HelpAlignsTermsAndWrapsMeaningsAt79Columns) {
    const std::string help =
        formatHelp("Usage: tool [options]", "",
                   {{"Options:",
                     {{"-a N", "short"},
                      {"--much-longer-than-any-column X", "goes on the next line"},
                      {"-b",
                       "a meaning long enough to be wrapped at the last blank that keeps the line within seventy-nine "
                       "columns"}}},
                    {"", {{"x", "untitled section"}}}});
    EXPECT_EQ(help,
              "Usage: tool [options]\n"
              "\n"
              "Options:\n"
              "  -a N  short\n"
              "  --much-longer-than-any-column X\n"
              "        goes on the next line\n"
              "  -b    a meaning long enough to be wrapped at the last blank that keeps the\n"
              "        line within seventy-nine columns\n"
              "\n"
              "  x  untitled section\n");
}

TEST(Usage, VersionAndUsageErrorLines) {
    EXPECT_EQ(versionLine("quillmere-flowgen"), std::string("quillmere-flowgen ") + QM_VERSION + "\n");
    EXPECT_STREQ(QM_VERSION, "0.2.0");
    EXPECT_EQ(usageError("tool", "unknown option '-v'", "Usage: tool FILE"),
              "tool: unknown option '-v'\nUsage: tool FILE\nTry 'tool --help' for more information.\n");
    for (const char* help : {"-h", "-help", "--help"}) EXPECT_TRUE(isHelpOption(help)) << help;
    for (const char* version : {"-version", "--version"}) EXPECT_TRUE(isVersionOption(version)) << version;
    for (const char* other : {"-H", "--h", "help", "-v", "--versions"})
        EXPECT_FALSE(isHelpOption(other) || isVersionOption(other)) << other;
}

}  // namespace
