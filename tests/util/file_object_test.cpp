#include "util/file_object.h"

#include <gtest/gtest.h>

using qorvid::fileObject;

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
