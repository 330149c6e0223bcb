// Where a target may be written.
#include "support/test_tools.h"
#include "util/drive_type.h"

#include <gtest/gtest.h>

using qorvid::isUsableDrive;
using qorvid::isUsableFileSystem;

TEST(DriveType, OnlyOpticalMediaAreRefusedByType)
{
    // ext4, vfat (a USB stick), nfs, tmpfs (where /tmp often lives); iso9660 and udf are not.
    for (unsigned long type : {0xEF53, 0x4D44, 0x6969, 0x01021994}) EXPECT_TRUE(isUsableFileSystem(type)) << type;
    for (unsigned long type : {0x9660, 0x15013346}) EXPECT_FALSE(isUsableFileSystem(type)) << type;
}

TEST(DriveType, FoldersAreJudgedByWhatTheyAllow)
{
    qorvid::test::TempDir dir;
    EXPECT_TRUE(isUsableDrive(dir.path()));
    EXPECT_TRUE(isUsableDrive(dir.file("not/yet/made.avi")));
    EXPECT_TRUE(isUsableDrive("/dev/shm/x.avi"));
    EXPECT_FALSE(isUsableDrive(""));
}
