// Where a target may be written.
#include "support/test_tools.h"
#include "util/drive_type.h"

#include <gtest/gtest.h>

using qorvid::isUsableDrive;
using qorvid::isUsableFileSystem;

TEST(DriveType, OnlyOpticalMediaAreRefusedByType)
{
    EXPECT_TRUE(isUsableFileSystem(0xEF53));     // ext4
    EXPECT_TRUE(isUsableFileSystem(0x4D44));     // vfat: a USB stick
    EXPECT_TRUE(isUsableFileSystem(0x6969));     // nfs
    EXPECT_TRUE(isUsableFileSystem(0x01021994)); // tmpfs, where /tmp often lives
    EXPECT_FALSE(isUsableFileSystem(0x9660));    // iso9660
    EXPECT_FALSE(isUsableFileSystem(0x15013346)); // udf
}

TEST(DriveType, FoldersAreJudgedByWhatTheyAllow)
{
    qorvid::test::TempDir dir;
    EXPECT_TRUE(isUsableDrive(dir.path()));
    EXPECT_TRUE(isUsableDrive(dir.file("not/yet/made.avi")));
    EXPECT_TRUE(isUsableDrive("/dev/shm/x.avi"));
    EXPECT_FALSE(isUsableDrive(""));
}
