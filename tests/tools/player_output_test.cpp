#include "common/line_stream.h"
#include "player/player_arguments.h"
#include "player/player_output.h"

#include <gtest/gtest.h>

using namespace qorvid::tools;

namespace {

std::string rewriteAll(const std::string& text)
{
    PlayerOutputRewriter rewriter;
    LineStream lines;
    lines.feed(text);
    std::string out;
    for (const auto& l : lines.takeLines()) out += rewriter.line(l);
    out += rewriter.finish();
    return out;
}

// The value of the first key after "from" (the way the probe reads the sound values).
std::string valueAfter(const std::string& text, const std::string& from, const std::string& key)
{
    size_t start = text.find(from);
    size_t at = text.find(key, start == std::string::npos ? 0 : start);
    if (at == std::string::npos) return {};
    at += key.size();
    return text.substr(at, text.find('\n', at) - at);
}

const std::string sep = "==========================================================================\n";

// Identify output of the current player for an AVI with mono MP3 sound.
const std::string identifyAvi =
    "Playing t.avi.\n"
    "AVI file format detected.\n"
    "VIDEO:  [FMP4]  160x120  24bpp  25.000 fps  217.7 kbps (26.6 kbyte/s)\n" +
    sep +
    "Opening video decoder: [ffmpeg] FFmpeg's libavcodec codec family\n"
    "Selected video codec: [ffodivx] vfm: ffmpeg (FFmpeg MPEG-4)\n" +
    sep +
    "ID_VIDEO_CODEC=ffodivx\n"
    "ID_FILENAME=t.avi\n"
    "ID_DEMUXER=avi\n"
    "ID_VIDEO_WIDTH=160\n"
    "ID_AUDIO_BITRATE=63992\n"
    "ID_AUDIO_RATE=0\n"
    "ID_AUDIO_NCH=0\n"
    "ID_LENGTH=3.04\n"
    "ID_CHAPTERS=0\n" +
    sep +
    "Opening audio decoder: [mpg123] MPEG 1.0/2.0/2.5 layers I, II, III\n"
    "ID_AUDIO_BITRATE=64000\n"
    "ID_AUDIO_RATE=44100\n"
    "ID_AUDIO_NCH=1\n" +
    sep +
    "ID_AUDIO_CODEC=mpg123\n"
    "Starting playback...\n"
    "Exiting... (End of file)\n";

} // namespace

TEST(PlayerOutput, DecoderBlockFollowsTheHeaderSoTheRealSoundValuesAreRead)
{
    std::string out = rewriteAll(identifyAvi);
    EXPECT_LT(out.find("ID_CHAPTERS=0"), out.find("ID_VIDEO_CODEC="));
    EXPECT_LT(out.find("Opening video decoder"), out.find("ID_VIDEO_CODEC="));
    EXPECT_LT(out.find("ID_VIDEO_CODEC="), out.find("Opening audio decoder"));
    EXPECT_EQ(valueAfter(out, "ID_VIDEO_CODEC=", "ID_AUDIO_BITRATE="), "64000");
    EXPECT_EQ(valueAfter(out, "ID_VIDEO_CODEC=", "ID_AUDIO_RATE="), "44100");
    EXPECT_EQ(valueAfter(out, "ID_VIDEO_CODEC=", "ID_AUDIO_NCH="), "1");
    EXPECT_EQ(valueAfter(out, "", "ID_AUDIO_CODEC="), "mp3");
    // Nothing lost, nothing doubled, but the header's zero placeholders.
    EXPECT_EQ(out.size(), identifyAvi.size() - std::string("mpg123").size() + 3 -
                              std::string("ID_AUDIO_RATE=0\nID_AUDIO_NCH=0\n").size());
}

TEST(PlayerOutput, VideoOnlyFileAndEndOfStreamReleaseTheHeldBlock)
{
    std::string noSound = sep + "Opening video decoder: [raw]\n" + sep +
                          "ID_VIDEO_CODEC=rawbgr8\nID_DEMUXER=gif\nID_VIDEO_WIDTH=80\n"
                          "ID_VIDEO_HEIGHT=60\nID_VIDEO_FPS=5.000\nID_LENGTH=0.00\n"
                          "Audio: no sound\nStarting playback...\n";
    std::string out = rewriteAll(noSound);
    EXPECT_LT(out.find("ID_LENGTH="), out.find("ID_VIDEO_CODEC="));
    EXPECT_LT(out.find("ID_VIDEO_CODEC="), out.find("Audio: no sound"));
    // A GIF reports no size and no frame rate in its ID_ lines.
    EXPECT_EQ(out.find("ID_VIDEO_WIDTH="), std::string::npos);
    EXPECT_EQ(out.find("ID_VIDEO_HEIGHT="), std::string::npos);
    EXPECT_EQ(out.find("ID_VIDEO_FPS="), std::string::npos);

    std::string cut = sep + "Opening video decoder: [ffmpeg]\n" + sep + "ID_VIDEO_CODEC=x\n";
    EXPECT_EQ(rewriteAll(cut), cut);
}

TEST(PlayerOutput, StatusLinesPassUnchangedAndUnfinishedLinesWaitOnlyWhileHolding)
{
    std::string status = "A:   1.2 V:   1.2 A-V:  0.000 ct:  0.000  31/ 31  1%  0%  0.3% 0 0\r";
    EXPECT_EQ(rewriteAll(status + "ID_VIDEO_WIDTH=640\n"), status + "ID_VIDEO_WIDTH=640\n");
    PlayerOutputRewriter rewriter;
    EXPECT_TRUE(rewriter.mayPrintUnfinished());
    rewriter.line(sep);
    EXPECT_FALSE(rewriter.mayPrintUnfinished());
    rewriter.line("Opening video decoder: [ffmpeg]\n");
    EXPECT_FALSE(rewriter.mayPrintUnfinished());
}

TEST(PlayerArguments, WindowsOutputAndPriorityAreReplaced)
{
    std::vector<std::string> slave = {"/a b/movie.avi", "-vo", "directx", "-priority", "abovenormal",
                                      "-slave", "-identify", "-wid", "123"};
    auto withDisplay = playerArguments(slave, true);
    std::vector<std::string> expected = {"-ac", "ffmp3,", "/a b/movie.avi", "-vo", "xv,x11,",
                                         "-zoom", "-slave", "-identify", "-wid", "123"};
    EXPECT_EQ(withDisplay, expected);
    auto headless = playerArguments(slave, false);
    EXPECT_EQ(headless[4], "null");

    std::vector<std::string> probe = {"-ao", "null", "-vo", "null", "-frames", "1", "f.avi"};
    EXPECT_EQ(playerArguments(probe, true), probe);
}

TEST(PlayerOutput, HeaderZerosAreLeftOutAndAsfLengthCountsThePreroll)
{
    // A sound-only file: the header's placeholders must not be the first values read.
    std::string wav = "ID_DEMUXER=audio\nID_AUDIO_BITRATE=705600\nID_AUDIO_RATE=0\nID_AUDIO_NCH=0\n"
                      "ID_AUDIO_BITRATE=705600\nID_AUDIO_RATE=44100\nID_AUDIO_NCH=1\n";
    std::string out = rewriteAll(wav);
    EXPECT_EQ(valueAfter(out, "", "ID_AUDIO_RATE="), "44100");
    EXPECT_EQ(valueAfter(out, "", "ID_AUDIO_NCH="), "1");
    EXPECT_EQ(out.find("=0\n"), std::string::npos);

    EXPECT_EQ(rewriteAll("ID_DEMUXER=asf\nID_START_TIME=3.10\nID_LENGTH=3.05\n"),
              "ID_DEMUXER=asf\nID_START_TIME=3.10\nID_LENGTH=6.15\n");
    EXPECT_EQ(rewriteAll("ID_DEMUXER=lavfpref\nID_START_TIME=1.00\nID_LENGTH=3.05\n"),
              "ID_DEMUXER=lavfpref\nID_START_TIME=1.00\nID_LENGTH=3.05\n");
}

namespace {

// Identify output of the current player for a film cut short before its index: its last
// resort reads the file as raw DV.
const std::string identifyRawDv =
    "Playing cut.mp4.\n"
    "MOV: missing header (moov/cmov) chunk! Maybe broken file...\n"
    "RAWDV file format detected.\n"
    "VIDEO:  [DVSD]  720x480  24bpp  29.970 fps    0.0 kbps ( 0.0 kbyte/s)\n" +
    sep + "Opening video decoder: [ffmpeg] FFmpeg's libavcodec codec family\n" + sep +
    "ID_VIDEO_CODEC=ffdv\n"
    "ID_FILENAME=cut.mp4\n"
    "ID_DEMUXER=rawdv\n"
    "ID_VIDEO_FORMAT=DVSD\n"
    "ID_VIDEO_WIDTH=720\n"
    "ID_VIDEO_HEIGHT=480\n"
    "ID_VIDEO_FPS=29.970\n"
    "ID_LENGTH=0.07\n" +
    sep + "Audio: no sound\nStarting playback...\nExiting... (End of file)\nID_EXIT=EOF\n";

std::string rewriteWith(const SourceFacts& facts, const std::string& text)
{
    PlayerOutputRewriter rewriter(facts);
    LineStream lines;
    lines.feed(text);
    std::string out;
    for (const auto& l : lines.takeLines()) out += rewriter.line(l);
    return out + rewriter.finish();
}

} // namespace

TEST(PlayerOutput, RawDvGuessOfAFileThatIsNotDvIsNotRecognised)
{
    std::vector<std::string> asked;
    SourceFacts facts;
    facts.isDv = [&](const std::string& file) {
        asked.push_back(file);
        return false;
    };
    std::string out = rewriteWith(facts, identifyRawDv);
    EXPECT_EQ(asked, std::vector<std::string>{"cut.mp4"});
    for (const char* key : {"ID_DEMUXER=", "ID_VIDEO_CODEC=", "ID_VIDEO_WIDTH=", "ID_VIDEO_FPS=", "ID_LENGTH="})
        EXPECT_EQ(out.find(key), std::string::npos) << key << " in\n" << out;
    EXPECT_NE(out.find("not recognized"), std::string::npos);
    // The end of the run still shows.
    EXPECT_NE(out.find("Exiting... (End of file)\nID_EXIT=EOF\n"), std::string::npos);

    // A real DV file keeps everything.
    facts.isDv = [](const std::string&) { return true; };
    EXPECT_EQ(rewriteWith(facts, identifyRawDv), rewriteAll(identifyRawDv));
}

TEST(PlayerOutput, PlainAudioReaderGetsTheFilesRealLength)
{
    std::vector<std::string> asked;
    SourceFacts facts;
    facts.duration = [&](const std::string& file) -> std::optional<double> {
        asked.push_back(file);
        return 1.4562;
    };
    const std::string wav = "ID_FILENAME=a b.wav\nID_DEMUXER=audio\nID_AUDIO_RATE=22050\nID_LENGTH=1.00\n";
    EXPECT_EQ(rewriteWith(facts, wav), "ID_FILENAME=a b.wav\nID_DEMUXER=audio\nID_AUDIO_RATE=22050\nID_LENGTH=1.46\n");
    EXPECT_EQ(asked, std::vector<std::string>{"a b.wav"});

    // Other readers measure the length themselves; an unknown length keeps the player's.
    const std::string ogg = "ID_FILENAME=a.ogg\nID_DEMUXER=lavfpref\nID_LENGTH=1.46\n";
    EXPECT_EQ(rewriteWith(facts, ogg), ogg);
    facts.duration = [](const std::string&) { return std::optional<double>(); };
    EXPECT_EQ(rewriteWith(facts, wav), wav);
}
