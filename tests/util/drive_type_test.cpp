#include "util/drive_type.h"

#include "support/test_tools.h"

#include <gtest/gtest.h>

using qorvid::isUsableDrive;
using qorvid::isUsableFileSystem;

TEST(DriveType, FileSystemRule)
{
    EXPECT_TRUE(isUsableFileSystem(0xEF53));     // ext4
    EXPECT_TRUE(isUsableFileSystem(0x4D44));     // vfat: a USB stick
    EXPECT_FALSE(isUsableFileSystem(0x6969));    // nfs
    EXPECT_FALSE(isUsableFileSystem(0xFF534D42)); // cifs
    EXPECT_FALSE(isUsableFileSystem(0x9660));    // iso9660
    EXPECT_FALSE(isUsableFileSystem(0x15013346)); // udf
    EXPECT_FALSE(isUsableFileSystem(0x01021994)); // tmpfs

    constexpr unsigned long fuse = 0x65735546;
    EXPECT_FALSE(isUsableFileSystem(fuse, "fuse.sshfs"));
    EXPECT_FALSE(isUsableFileSystem(fuse, "fuse.gvfsd-fuse"));
    EXPECT_TRUE(isUsableFileSystem(fuse, "fuseblk")); // ntfs-3g, exfat on a local disk
}

TEST(DriveType, MissingPathsAreJudgedByTheirFolder)
{
    qorvid::test::TempDir dir;
    bool here = isUsableDrive(dir.path());
    EXPECT_EQ(isUsableDrive(dir.file("not/yet/made.avi")), here);
    EXPECT_EQ(isUsableDrive(dir.file("new.avi")), here);
    EXPECT_FALSE(isUsableDrive(""));
    EXPECT_EQ(isUsableDrive("/dev/shm/x.avi"), isUsableDrive("/dev/shm"));
}
