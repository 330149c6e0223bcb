#include "util/shell_ops.h"

#include <gtest/gtest.h>

TEST(ShellOps, FileUrlEncodesEverythingButPlainCharacters)
{
    EXPECT_EQ(qorvid::fileUrl("/a b/c,d.avi"), "file:///a%20b/c%2Cd.avi");
    EXPECT_EQ(qorvid::fileUrl("/x/$(touch y)`\"'.mp4"), "file:///x/%24%28touch%20y%29%60%22%27.mp4");
    EXPECT_EQ(qorvid::fileUrl("/影片/~v-1_2.avi"), "file:///%E5%BD%B1%E7%89%87/~v-1_2.avi");
}
