#include "util/command_line.h"

#include <gtest/gtest.h>

using namespace qorvid;

namespace {
auto noFiles = [](const std::string&) { return false; };
} // namespace

TEST(CommandLine, QuotesGroupAndAreRemoved)
{
    auto a = splitCommandLine(R"(/p/ZevraRes1.exe -identify -ao null  "/m/my clip (1).avi" -o "")", noFiles);
    EXPECT_EQ(a.program, "/p/ZevraRes1.exe");
    EXPECT_EQ(a.args, (std::vector<std::string>{"-identify", "-ao", "null", "/m/my clip (1).avi", "-o", ""}));
    // Quoted and unquoted parts of one argument join; backslashes are plain characters.
    a = splitCommandLine(R"(tool -vf-add scale="a b"c "C:\dir\")", noFiles);
    EXPECT_EQ(a.program, "tool");
    EXPECT_EQ(a.args, (std::vector<std::string>{"-vf-add", "scale=a bc", "C:\\dir\\"}));
}

TEST(CommandLine, FileNamesAreData)
{
    auto a = splitCommandLine("t \"/m/$(touch x) `id`; rm -rf ~ & 影片.avi\"", noFiles);
    EXPECT_EQ(a.args, std::vector<std::string>{"/m/$(touch x) `id`; rm -rf ~ & 影片.avi"});
}

TEST(CommandLine, UnquotedProgramWithBlanksTakesTheLongestExistingPrefix)
{
    auto exists = [](const std::string& p) { return p == "/opt/My Apps/q/plugins/ZevraRes2.exe" || p == "/opt/My"; };
    auto a = splitCommandLine("/opt/My Apps/q/plugins/ZevraRes2.exe \"in.avi\" -o \"out.avi\"", exists);
    EXPECT_EQ(a.program, "/opt/My Apps/q/plugins/ZevraRes2.exe");
    EXPECT_EQ(a.args, (std::vector<std::string>{"in.avi", "-o", "out.avi"}));
    // Nothing exists: the first word is the program.
    a = splitCommandLine("/opt/My Apps/x -v", noFiles);
    EXPECT_EQ(a.program, "/opt/My");
    EXPECT_EQ(a.args, (std::vector<std::string>{"Apps/x", "-v"}));
    // A quoted program is taken as it stands.
    a = splitCommandLine("\"/opt/My Apps/x\" -v", noFiles);
    EXPECT_EQ(a.program, "/opt/My Apps/x");
    EXPECT_TRUE(splitCommandLine("   ", noFiles).program.empty());
}
