// Several qorvid-cli conversions at once from one program folder, as a script over a folder
// of files runs them: each gets its own right target, and they share no file.
#include "support/test_tools.h"

#include "util/subprocess.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <set>

using namespace qorvid::test;

TEST(ConvertParallel, ThreeJobsAtOnceEachGetTheirOwnTarget)
{
    TempDir in, out;
    const std::vector<std::pair<std::string, std::string>> jobs = {
        {"one.avi", "divx"}, {"two.avi", "mp3"}, {"three.avi", "mpeg2"}};
    for (const auto& [name, to] : jobs)
        makeMedia(in.file(name), "testsrc2=size=320x240:rate=25:duration=8", "sine=duration=8", {"-c:v", "mpeg4", "-c:a", "libmp3lame"});

    std::array<qorvid::Subprocess, 3> children;
    for (size_t i = 0; i < jobs.size(); ++i) {
        qorvid::Subprocess::Setup setup;
        setup.program = buildDir() + "qorvid-cli";
        setup.argv = {setup.program, "convert", in.file(jobs[i].first), "--to", jobs[i].second, "--yes",
                      "--lang", "en", "--target-dir", out.path()};
        setup.output = qorvid::Subprocess::Output::Null;
        ASSERT_TRUE(children[i].start(setup)) << children[i].error();
    }
    for (auto& child : children) EXPECT_EQ(child.wait(), 0);
    EXPECT_EQ(ffprobeValue(out.file("one.avi"), "v:0", "codec_name"), "mpeg4");
    EXPECT_EQ(ffprobeValue(out.file("two.mp3"), "a:0", "codec_name"), "mp3");
    EXPECT_EQ(ffprobeValue(out.file("three.mpg"), "v:0", "codec_name"), "mpeg2video");
    // Nothing but the three targets: no passing or unfinished file of one job is left or shared.
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(out.path())) names.insert(e.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"one.avi", "two.mp3", "three.mpg"}));
}
