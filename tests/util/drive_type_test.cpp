// Where a target may be written.
#include "support/test_tools.h"
#include "util/drive_type.h"

#include <gtest/gtest.h>

using qorvid::isUsableDrive;

TEST(DriveType, FoldersAreJudgedByWhatTheyAllow)
{
    qorvid::test::TempDir dir;
    EXPECT_TRUE(isUsableDrive(dir.path()));
    EXPECT_TRUE(isUsableDrive(dir.file("not/yet/made.avi")));
    EXPECT_TRUE(isUsableDrive("/dev/shm/x.avi"));
    EXPECT_FALSE(isUsableDrive(""));
}
