// Paths: their parts, where a target may be written, and their file URLs.
#include "support/test_tools.h"
#include "util/drive_type.h"
#include "util/file_object.h"
#include "util/shell_ops.h"

#include <gtest/gtest.h>

using qorvid::fileObject;
using qorvid::isUsableDrive;

TEST(FileObject, SplitsAtTheLastSeparatorAndDot)
{
    const struct {
        const char* path;
        const char *extension, *base, *file, *parent;
    } cases[] = {
        {"/x/a.b/c", "", "c", "c", "/x/a.b/"}, // a dot in a folder name is no extension
        {"/v/clip.part.MP4", "MP4", "clip.part", "clip.part.MP4", "/v/"},
        {"/v/clip.", "", "clip", "clip.", "/v/"},
        {"/v/.hidden", "hidden", "", ".hidden", "/v/"},
        {"name.avi", "avi", "name", "name.avi", ""},          // no separator at all
        {"/v/folder/", "", "", "", "/v/folder/"},             // a trailing one leaves no file name
        {"/v/a:b.avi", "avi", "a:b", "a:b.avi", "/v/"},       // the colon is an ordinary character
        {"  /v/x y.avi  ", "avi", "x y", "x y.avi", "/v/"},   // surrounding spaces go first
    };
    const auto& fo = fileObject();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(fo.GetExtensionName(c.path), c.extension);
        EXPECT_EQ(fo.GetBaseName(c.path), c.base);
        EXPECT_EQ(fo.GetFileName(c.path), c.file);
        EXPECT_EQ(fo.GetParentFolderName(c.path), c.parent);
    }
    EXPECT_EQ(fo.GetDriveName("  /v/x"), "/");
}

TEST(DriveType, FoldersAreJudgedByWhatTheyAllow)
{
    qorvid::test::TempDir dir;
    EXPECT_TRUE(isUsableDrive(dir.path()));
    EXPECT_TRUE(isUsableDrive(dir.file("not/yet/made.avi")));
    EXPECT_TRUE(isUsableDrive("/dev/shm/x.avi"));
    EXPECT_FALSE(isUsableDrive(""));
}

TEST(ShellOps, FileUrlEncodesEverythingButPlainCharacters)
{
    EXPECT_EQ(qorvid::fileUrl("/a b/c,d.avi"), "file:///a%20b/c%2Cd.avi");
    EXPECT_EQ(qorvid::fileUrl("/x/$(touch y)`\"'.mp4"), "file:///x/%24%28touch%20y%29%60%22%27.mp4");
    EXPECT_EQ(qorvid::fileUrl("/影片/~v-1_2.avi"), "file:///%E5%BD%B1%E7%89%87/~v-1_2.avi");
}
