// qorvid-cli probe against the real player and converter plugins, on clips made here.
#include "app/lang_text.h"
#include "media/probe.h"
#include "support/lang.h"
#include "support/test_tools.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sys/stat.h>

using qorvid::Msg;
using namespace qorvid::test;

namespace {

// The probe's "key=value" lines, read with the program's key=value reader: fields(output)("srcWidth").
auto fields(const std::string& output) { return [output](const std::string& key) { return qorvid::findValue(output, key + "="); }; }

RunResult probe(const std::string& file)
{
    return runProgram({buildDir() + "qorvid-cli", "probe", "--lang", "tw", "--", file});
}

class ProbeCli : public MediaSuite<ProbeCli> {
protected:
    static void SetUpTestSuite()
    {
        dir = std::make_unique<TempDir>();
        const std::string picture = "testsrc2=size=320x240:rate=25:duration=3", sound = "sine=sample_rate=44100:duration=3";
        auto av = [&](const std::string& name, std::vector<std::string> codecs) { makeMedia(dir->file(name), picture, sound, codecs); };
        av("mpeg4 pcm.avi", {"-c:v", "mpeg4", "-c:a", "pcm_s16le"});
        av("mpeg4 mp3.avi", {"-ac", "1", "-c:v", "mpeg4", "-c:a", "libmp3lame", "-b:a", "96k"});
        av("mpeg2.mpg", {"-c:v", "mpeg2video", "-c:a", "mp2", "-f", "vob"});
        av("clip.wmv", {"-c:v", "wmv2", "-c:a", "wmav2"});
        av("h264 aac.mp4", {"-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac"});
        av("clip.mkv", {"-c:v", "libx264", "-preset", "ultrafast", "-c:a", "libvorbis"});
        av("clip.flv", {"-c:v", "flv1", "-c:a", "libmp3lame", "-ar", "44100"});
        makeMedia(dir->file("sound.wav"), "", sound, {"-ac", "1"});
        makeMedia(dir->file("sound.mp3"), "", sound, {"-c:a", "libmp3lame"});
        makeMedia(dir->file("short.wav"), "", "sine=sample_rate=22050:duration=1.46", {"-c:a", "pcm_s16le"});
        makeMedia(dir->file("short.mp3"), "", "sine=sample_rate=22050:duration=1.46", {"-c:a", "libmp3lame"});
        makeMedia(dir->file("moving.gif"), "testsrc2=size=160x120:rate=10:duration=2", "");
        makeMedia(dir->file("still.gif"), "testsrc2=size=160x120:rate=10:duration=1", "", {"-frames:v", "1"});
        for (const char* name : {"-starts with dash.avi", "影片 測試.avi", "$(touch x).avi", "`touch x`.avi", "it's & co; rm -rf x.avi"})
            std::filesystem::copy_file(dir->file("mpeg4 mp3.avi"), dir->file(name));
    }
};

} // namespace

// Containers and sound files as ffprobe reads them: a sound file has no picture, and its real
// length, rate and channel count, not the header's. The probe rounds up to the next tenth. Odd
// but valid names are just data, and the source is never touched. Without a display too: the
// probe runs where no desktop is.
TEST_F(ProbeCli, AgreesWithFfprobeOnEveryContainerSoundFileAndOddName)
{
    ScopedEnv noDisplay;
    noDisplay.set("DISPLAY", nullptr);
    const struct {
        const char* name;
        double length = 0, tolerance = 0.2; // length 0: ffprobe's, rounded up
        const char* channels = "";          // "" unchecked
    } cases[] = {{"mpeg4 pcm.avi"}, {"mpeg4 mp3.avi", 0, 0.2, "1"}, {"mpeg2.mpg"}, {"clip.wmv"}, {"h264 aac.mp4"}, {"clip.mkv"},
                 {"clip.flv"}, {"sound.wav", 3.0, 0.2, "1"}, {"sound.mp3", 3.0}, {"short.wav", 1.46, 0.05},
                 {"short.mp3", 1.46, 0.1}, // rounded up to 1.5
                 {"-starts with dash.avi"}, {"影片 測試.avi"}, {"$(touch x).avi"}, {"`touch x`.avi"}, {"it's & co; rm -rf x.avi"}};
    auto orZero = [](const std::string& v) { return v.empty() ? std::string("0") : v; };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string file = dir->file(c.name);
        const std::string bytes = readFile(file);
        RunResult r = probe(file);
        ASSERT_EQ(r.exitCode, 0) << r.output;
        auto f = fields(r.output);
        EXPECT_EQ(f("srcWidth"), orZero(ffprobeValue(file, "v:0", "width")));
        EXPECT_EQ(f("srcHeight"), orZero(ffprobeValue(file, "v:0", "height")));
        const double length = std::stod(ffprobeValue(file, "", "duration"));
        const double expected = c.length > 0 ? c.length : std::ceil(length * 10 - 1e-6) / 10;
        EXPECT_NEAR(std::stod(f("srcLength")), expected, c.tolerance) << "ffprobe " << length;
        const std::string rate = ffprobeValue(file, "v:0", "r_frame_rate"); // "25/1"
        EXPECT_NEAR(std::stod(f("srcFps")), rate.empty() ? 0 : std::stod(rate) / std::stod(rate.substr(rate.find('/') + 1)), 0.01);
        EXPECT_EQ(f("srcAudioRate"), ffprobeValue(file, "a:0", "sample_rate"));
        if (*c.channels) { EXPECT_EQ(f("srcAudioChannels"), c.channels); }
        EXPECT_NE(f("srcAudioCodec"), "");
        EXPECT_EQ(f("verdict"), "");
        EXPECT_EQ(readFile(file), bytes);
    }
    EXPECT_FALSE(fileExists(dir->file("x")));
    EXPECT_FALSE(fileExists("x"));
    // The sound the player reports once its decoders are open, not the fallback (64 kb/s).
    auto mono = fields(probe(dir->file("mpeg4 mp3.avi")).output);
    EXPECT_EQ(mono("srcAudioBitrate") + " " + mono("srcAudioCodec") + " " + mono("srcDemuxer"), "96 mp3 avi");
    // A relative name that begins with "-" is read as a file, not an option.
    std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(dir->path());
    RunResult relative = probe("-starts with dash.avi");
    std::filesystem::current_path(here);
    EXPECT_EQ(relative.exitCode, 0) << relative.output;
}

TEST_F(ProbeCli, GifsAreCountedFrameByFrame)
{
    auto moving = fields(probe(dir->file("moving.gif")).output);
    EXPECT_EQ(moving("verdict"), "Animated Gifs");
    EXPECT_EQ(moving("srcWidth") + "x" + moving("srcHeight"), "160x120");
    EXPECT_EQ(moving("srcGifFrames") + " pictures at " + moving("srcFps"), "20 pictures at 10");
    EXPECT_NEAR(std::stod(moving("srcLength")), 2.0, 0.2);
    auto still = fields(probe(dir->file("still.gif")).output);
    EXPECT_EQ(still("verdict") + ", " + still("srcGifFrames"), "Static Gif, 1");
}

// A file that is no film is named after the message. A FIFO or a device is refused before any
// tool runs (one opening it would wait for ever).
TEST_F(ProbeCli, BadInputIsRefusedWithItsMessage)
{
    writeFile(dir->file("empty.avi"), "");
    std::string noise;
    for (int i = 0; i < 65536; ++i) noise.push_back(static_cast<char>((i * 7919 + 13) % 251));
    writeFile(dir->file("noise.avi"), noise);
    writeFile(dir->file("letter.mpg"), "Dear reader,\nthis is not a film.\n");
    writeFile(dir->file("say \"cheese\".avi"), readFile(dir->file("mpeg4 mp3.avi")));
    // The index of an MP4 made without faststart sits at its end; the first 30 % has none.
    const std::string bytes = readFile(dir->file("h264 aac.mp4"));
    writeFile(dir->file("cut short.mp4"), bytes.substr(0, bytes.size() * 3 / 10));
    const std::string fifo = dir->file("pipe.avi");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);

    const std::string invalidName = "這是一個無效檔名的影音檔案\n\n";
    const std::string cannotAnalyse = "無法分析這個來源影音";
    for (const auto& [file, message] : std::vector<std::pair<std::string, std::string>>{
             {dir->file("missing.avi"), "請先指定存在的來源影音"},
             {dir->path(), invalidName + dir->path()},
             {dir->file("empty.avi"), invalidName + dir->file("empty.avi")},
             {dir->file("say \"cheese\".avi"), invalidName + dir->file("say \"cheese\".avi")},
             {fifo, invalidName + fifo},
             {"/dev/null", invalidName + "/dev/null"},
             {dir->file("noise.avi"), cannotAnalyse},
             {dir->file("letter.mpg"), cannotAnalyse},
             {dir->file("cut short.mp4"), cannotAnalyse}}) {
        SCOPED_TRACE(file);
        RunResult r = runProgram({buildDir() + "qorvid-cli", "probe", "--lang", "tw", "--", file}, 20);
        EXPECT_FALSE(r.hung);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.output.find(message), std::string::npos) << r.output;
        const auto f = fields(r.output); // a source that could not be analysed has no picture
        EXPECT_EQ(f("srcWidth"), message == cannotAnalyse ? "0" : "");
    }
    EXPECT_EQ(readFile(dir->file("letter.mpg")), "Dear reader,\nthis is not a film.\n");
    // convert takes its source through the same check; and no plugin waits on a FIFO (Plugins).

    // A program folder without its plugins.
    TempDir bare;
    std::filesystem::copy_file(buildDir() + "qorvid-cli", bare.file("qorvid-cli"));
    RunResult r = runProgram({bare.file("qorvid-cli"), "probe", "--lang", "tw", dir->file("mpeg4 mp3.avi")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.output.find("找不到 Qorvid Plugins"), std::string::npos) << r.output;
}

TEST_F(ProbeCli, SpeaksTheChosenLanguageOrThatOfTheLocale)
{
    const qorvid::LangText en = loadedLang("en"), gb = loadedLang("gb");
    const std::string english = en[Msg::ChooseSourceFirst], traditional = tw()[Msg::ChooseSourceFirst];
    // Which variable counts is the unit tests' matter; here the program follows it, and --lang wins.
    struct Case {
        const char* lang;
        std::vector<std::string> options;
        std::string expected, other;
    };
    const Case cases[] = {{"en_US.UTF-8", {}, english, traditional},
                          {"zh_TW.UTF-8", {"--lang", "en"}, english, traditional},
                          {"en_US.UTF-8", {"--lang=tw"}, traditional, english},
                          {"en_US.UTF-8", {"--lang", "gb"}, gb[Msg::ChooseSourceFirst], english}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.lang) + " " + std::to_string(c.options.size()));
        ScopedEnv env;
        env.set("LC_ALL", nullptr);
        env.set("LC_MESSAGES", nullptr);
        env.set("LANG", c.lang);
        std::vector<std::string> argv{buildDir() + "qorvid-cli", "probe"};
        argv.insert(argv.end(), c.options.begin(), c.options.end());
        argv.push_back(dir->file("missing.avi"));
        RunResult r = runProgram(argv);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.output.find(c.expected), std::string::npos) << r.output;
        EXPECT_EQ(r.output.find(c.other), std::string::npos) << r.output;
    }
    EXPECT_EQ(runProgram({buildDir() + "qorvid-cli", "probe"}).exitCode, 2);
    EXPECT_EQ(runProgram({buildDir() + "qorvid-cli", "probe", "--lang", "fr", "x"}).exitCode, 2);
}
