#include "util/file_object.h"

#include <gtest/gtest.h>

using qorvid::fileObject;

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
