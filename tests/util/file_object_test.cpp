#include "util/file_object.h"

#include "support/test_tools.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using qorvid::fileObject;
using qorvid::test::TempDir;

TEST(FileObject, SplitsAtTheLastSeparatorAndDot)
{
    const auto& fo = fileObject();
    // A dot in a folder name is no extension.
    EXPECT_EQ(fo.GetExtensionName("/x/a.b/c"), "");
    EXPECT_EQ(fo.GetBaseName("/x/a.b/c"), "c");
    EXPECT_EQ(fo.GetFileName("/x/a.b/c"), "c");
    EXPECT_EQ(fo.GetParentFolderName("/x/a.b/c"), "/x/a.b/");

    EXPECT_EQ(fo.GetExtensionName("/v/clip.part.MP4"), "MP4");
    EXPECT_EQ(fo.GetBaseName("/v/clip.part.MP4"), "clip.part");
    EXPECT_EQ(fo.GetExtensionName("/v/clip."), "");
    EXPECT_EQ(fo.GetBaseName("/v/clip."), "clip");
    EXPECT_EQ(fo.GetExtensionName("/v/.hidden"), "hidden");
    EXPECT_EQ(fo.GetBaseName("/v/.hidden"), "");

    // No separator at all; a trailing one leaves no file name.
    EXPECT_EQ(fo.GetFileName("name.avi"), "name.avi");
    EXPECT_EQ(fo.GetParentFolderName("name.avi"), "");
    EXPECT_EQ(fo.GetFileName("/v/folder/"), "");
    EXPECT_EQ(fo.GetParentFolderName("/v/folder/"), "/v/folder/");
    // The colon is an ordinary character here.
    EXPECT_EQ(fo.GetFileName("/v/a:b.avi"), "a:b.avi");

    // Surrounding spaces go first.
    EXPECT_EQ(fo.GetFileName("  /v/x y.avi  "), "x y.avi");
    EXPECT_EQ(fo.GetDriveName("  /v/x"), "/");
}

TEST(FileObject, ExistenceReadWriteDelete)
{
    TempDir dir;
    const auto& fo = fileObject();
    const std::string file = dir.file("a b.txt");

    EXPECT_FALSE(fo.FileExists(file));
    EXPECT_EQ(fo.GetFileText(file), "");
    ASSERT_TRUE(fo.CreateTextFile(file, "line"));
    EXPECT_EQ(fo.GetFileText(file), "line\r\n");
    EXPECT_TRUE(fo.FileExists(file));
    EXPECT_FALSE(fo.FolderExists(file));
    EXPECT_TRUE(fo.FolderExists(dir.path()));
    EXPECT_FALSE(fo.FileExists(dir.path()));

    qorvid::test::writeFile(file, std::string("a\0b", 3));
    EXPECT_EQ(fo.GetFileText(file).size(), 3u); // binary: embedded NUL kept

    fo.DeleteFile(file);
    EXPECT_FALSE(fo.FileExists(file));
    fo.DeleteFile(file); // gone already: ignored
    EXPECT_FALSE(fo.CreateTextFile(dir.file("no/such/folder.txt"), "x"));
}

