// File names numbered by time step: one integer conversion, nothing that
// could reach printf otherwise.
#include "app/FramePattern.h"

#include <gtest/gtest.h>

#include <string>

TEST(FramePattern, OneStepNumberWithZerosOrWidth) {
    std::string name, error;
    ASSERT_TRUE(formatStepName("frames/f%04d.png", 7, name, error));
    EXPECT_EQ(name, "frames/f0007.png");
    ASSERT_TRUE(formatStepName("%d_100%%.csv", 12345, name, error));
    EXPECT_EQ(name, "12345_100%.csv");
    ASSERT_TRUE(formatStepName("s%3d.png", 4, name, error));
    EXPECT_EQ(name, "s  4.png");
    ASSERT_TRUE(formatStepName("f%02d.png", 123, name, error));
    EXPECT_EQ(name, "f123.png");
}

TEST(FramePattern, AnythingElseIsRefused) {
    std::string name, error;
    for (const char* bad : {"f%s.png", "f%n", "f%x.png", "f%-4d.png", "f%10d.png", "f.png", "%d%d.png", "f%"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(formatStepName(bad, 1, name, error));
    }
    formatStepName("f.png", 1, name, error);
    EXPECT_EQ(error, "'f.png' needs exactly one %d for the time step (for example frame%04d.png)");
    formatStepName("f%s.png", 1, name, error);
    EXPECT_EQ(error, "'f%s.png' may hold only %d, %0Nd or %Nd (N from 1 to 9) and %%");
}
