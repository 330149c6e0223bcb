// Every target kind: the command line `qorvid-cli convert --dry-run` gives for it is run through
// its plugin on short clips, and ffprobe checks that the result is what the kind promises and
// what the command asked for (size, frame rate, sound, range), with copied pictures bit-exact.
// And copy cuts hold what the key-frame check announces: they start on the key frame where the
// player's seek to the mark lands and last the -endpos length.
#include "engine/keyframe_check.h"
#include "media/probe.h"
#include "support/test_tools.h"
#include "support/tools_media.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <sstream>

using namespace qorvid::test;

namespace {

// The word after "key" in the command, up to one of the stops ("" when absent).
std::string wordAfter(const std::string& command, const std::string& key, const char* stops = " ")
{
    size_t at = command.find(key);
    if (at == std::string::npos) return {};
    at += key.size();
    return command.substr(at, command.find_first_of(stops, at) - at);
}

struct Row {
    std::string key, source;
    std::string format, video, audio; // what the kind promises; video "" for a sound target
    std::string tag = "";             // AVI tag, "" when not checked
};

class EncoderConformance : public MediaSuite<EncoderConformance> {
protected:
    static void SetUpTestSuite()
    {
        dir = std::make_unique<TempDir>();
        // 3 s clips, 160x120 at 25 fps with a key frame every 12 pictures, a tone.
        auto make = [](const std::string& name, std::vector<std::string> codecs, const std::string& rate, const char* channels) {
            codecs.insert(codecs.begin(), {"-ac", channels, "-b:v", "400k", "-g", "12"});
            makeMedia(dir->file(name), "testsrc=size=160x120:rate=25:duration=3", "sine=sample_rate=" + rate + ":duration=3", codecs);
        };
        make("src.avi", {"-c:v", "mpeg4", "-c:a", "libmp3lame", "-b:a", "96k"}, "44100", "2");
        make("pcm.avi", {"-c:v", "mpeg4", "-c:a", "pcm_s16le"}, "22050", "1");
        make("m2.mpg", {"-c:v", "mpeg2video", "-c:a", "mp2", "-f", "vob"}, "44100", "2");
        make("m1.mpg", {"-c:v", "mpeg1video", "-c:a", "mp2", "-f", "mpeg"}, "44100", "2");
        make("vcd.dat", {"-c:v", "mpeg1video", "-c:a", "mp2", "-f", "vcd"}, "44100", "2");
        make("dvd.vob", {"-c:v", "mpeg2video", "-c:a", "ac3", "-f", "dvd"}, "48000", "2");
        make("wma1.wmv", {"-c:v", "wmv1", "-c:a", "wmav1", "-f", "asf"}, "44100", "2");
        make("wma2.wmv", {"-c:v", "wmv2", "-c:a", "wmav2", "-b:a", "96k", "-f", "asf"}, "44100", "2");
    }
    // The command the system gives for the row, from the dry run; its output goes to dryRun_.
    std::string commandFor(const Row& row, const TempDir& out)
    {
        std::vector<std::string> argv{buildDir() + "qorvid-cli", "convert", dir->file(row.source), "--to", row.key,
                                      "--volume", "6", "--dry-run", "--yes", "--lang", "en", "--target-dir", out.path()};
        // A range for the sound targets and for one full conversion through the encoder.
        if (row.video.empty() || row.key == "divx") argv.insert(argv.end(), {"--mark", "00:00:00.5", "00:00:02.5"});
        if (row.key == "cut") argv.insert(argv.end(), {"--mark", "00:00:00.0", "00:00:01.5"});
        RunResult r = runProgram(argv);
        EXPECT_EQ(r.exitCode, 0) << r.output;
        dryRun_ = r.output;
        const size_t at = r.output.rfind(buildDir() + "plugins/ZevraRes");
        return at == std::string::npos ? "" : r.output.substr(at, r.output.find('\n', at) - at);
    }
    // summary: also check that the go-ahead names the sound the target gets.
    void check(const Row& row, bool summary = false);
    std::string dryRun_;
};

void EncoderConformance::check(const Row& row, bool summary)
{
    TempDir out;
    const std::string command = commandFor(row, out);
    SCOPED_TRACE(command);
    ASSERT_FALSE(command.empty());
    const std::string target = command.substr(command.rfind(" \"") + 2, command.size() - command.rfind(" \"") - 3);
    const bool converter = command.find("ZevraRes3") != std::string::npos;
    EXPECT_FALSE(fileExists(target)) << "the dry run ran the tool";
    RunResult r = runCommandLine(command);
    ASSERT_EQ(r.exitCode, 0) << r.output;
    // The progress the runner reads: rising "Pos:" seconds, or the converter's "time=" in seconds.
    if (converter) {
        EXPECT_FALSE(numbersAfter(r.output, "time=", " bitrate").empty()) << r.output;
        EXPECT_EQ(r.output.find("time=00:"), std::string::npos);
    } else {
        auto positions = numbersAfter(r.output, "Pos:", "s ");
        ASSERT_GE(positions.size(), 2u) << r.output;
        EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end())) << r.output;
        EXPECT_GT(positions.back(), positions.front());
    }
    ASSERT_TRUE(fileExists(target));
    MediaFacts f = probeFacts(target);
    EXPECT_NE(f.format["format_name"].find(row.format), std::string::npos) << f.format["format_name"];
    EXPECT_EQ(f.audio["codec_name"], row.audio);
    // A container's bit rate is measured over the file: a few per cent off the stream's own.
    const std::string bitRate = f.audio["bit_rate"];
    if (summary) { EXPECT_EQ(wordAfter(dryRun_, "\nAudio sample rate = ", "\n"), f.audio["sample_rate"]) << dryRun_; }
    if (summary && !bitRate.empty() && bitRate != "N/A") {
        EXPECT_NEAR(std::atof(wordAfter(dryRun_, "\nAudio bit rate = ", "\n").c_str()), std::stod(bitRate) / 1000, std::stod(bitRate) / 20000) << dryRun_;
    }
    const std::string rate = wordAfter(command, converter ? " -ar " : " -srate ");
    const std::string channels = wordAfter(command, converter ? " -ac " : " -channels ");
    if (!rate.empty()) { EXPECT_EQ(f.audio["sample_rate"], rate); }
    if (!channels.empty()) { EXPECT_EQ(f.audio["channels"], channels); }
    const std::string length = wordAfter(command, converter ? " -t " : " -endpos ");
    const bool copy = command.find("-ovc copy") != std::string::npos;
    // A copied picture can only start at a key frame (every 0.48 s here).
    EXPECT_NEAR(std::atof(f.format["duration"].c_str()), length.empty() ? 3 : qorvid::timeToSeconds(length, 0), copy && !length.empty() ? 0.6 : 0.25);
    if (row.video.empty()) {
        EXPECT_TRUE(f.video.empty());
        return;
    }
    EXPECT_EQ(f.video["codec_name"], row.video);
    if (!row.tag.empty()) { EXPECT_EQ(f.video["codec_tag_string"], row.tag); }
    const std::string width = wordAfter(command, "scale=", ":");
    const std::string scale = width + "x" + wordAfter(command, "scale=" + width + ":");
    EXPECT_EQ(f.video["width"] + "x" + f.video["height"], copy ? "160x120" : scale);
    std::string fps = wordAfter(command, " -ofps ");
    if (fps.find('/') == std::string::npos) fps += "/1";
    if (!copy && row.format != "asf") { EXPECT_EQ(f.video["r_frame_rate"], fps); }
    if (copy && length.empty()) { EXPECT_EQ(videoPacketHashes(target), videoPacketHashes(dir->file(row.source))); }
    if (copy && !length.empty()) { EXPECT_TRUE(isRunOf(videoPacketHashes(target), videoPacketHashes(dir->file(row.source)))); }
}

} // namespace

// Sound targets go through the converter.
TEST_F(EncoderConformance, VideoAndSoundTargets)
{
    for (const Row& row : std::vector<Row>{
             {"vcd", "src.avi", "mpeg", "mpeg1video", "mp2"},        {"dvd", "m2.mpg", "mpeg", "mpeg2video", "ac3"},
             {"mpeg1", "src.avi", "mpeg", "mpeg1video", "mp2"},      {"mpeg2", "wma2.wmv", "mpeg", "mpeg2video", "mp2"},
             {"wmv7", "src.avi", "asf", "wmv1", "wmav1"},            {"wmv8", "m1.mpg", "asf", "wmv2", "wmav2"},
             {"mp42-wmv", "src.avi", "asf", "msmpeg4v2", "wmav2"},   {"mp42-avi", "m2.mpg", "avi", "msmpeg4v2", "mp3", "MP42"},
             {"xvid", "m1.mpg", "avi", "mpeg4", "mp3", "XVID"},      {"divx", "src.avi", "avi", "mpeg4", "mp3", "DX50"},
             {"h264", "pcm.avi", "avi", "h264", "mp3", "H264"},      {"audmp3", "pcm.avi", "avi", "mpeg4", "mp3", "FMP4"},
             {"wma", "src.avi", "asf", "", "wmav2"},                 {"mp4", "src.avi", "mp4", "", "aac"},
             {"aac", "src.avi", "mp4", "", "aac"},                   {"ac3", "src.avi", "ac3", "", "ac3"},
             {"ogg", "src.avi", "ogg", "", "vorbis"},                {"mp3", "src.avi", "mp3", "", "mp3"},
             {"wav", "pcm.avi", "wav", "", "pcm_s16le"}})
        check(row);
}

// Volume, cut and repair keep the source's pictures and container; the cut from 0 to 1.5 s.
TEST_F(EncoderConformance, QuickOperations)
{
    const Row sources[] = {{"", "m2.mpg", "mpeg", "mpeg2video", "mp2"},     {"", "m1.mpg", "mpeg", "mpeg1video", "mp2"},
                           {"", "vcd.dat", "mpeg", "mpeg1video", "mp2"},    {"", "dvd.vob", "mpeg", "mpeg2video", "ac3"},
                           {"", "wma1.wmv", "asf", "wmv1", "wmav1"},        {"", "wma2.wmv", "asf", "wmv2", "wmav2"},
                           {"", "src.avi", "avi", "mpeg4", "mp3", "FMP4"}, {"", "pcm.avi", "avi", "mpeg4", "mp3", "FMP4"}};
    for (const char* key : {"volume", "cut", "fix"})
        for (Row row : sources) {
            if (std::string(key) == "fix" && row.source == "vcd.dat") continue; // the same path as m1.mpg
            SCOPED_TRACE(std::string(key) + " " + row.source);
            row.key = key;
            // The summary of a copy of MPEG's MP2 sound names 128 kb/s whatever the source has:
            // not held to the target here.
            check(row, row.audio != "mp2" || std::string(key) == "volume");
        }
}

namespace {

const std::string aviCut = " -noodml -ovc copy -oac copy";
const std::string wmvCut = " -ovc copy -oac lavc -of lavf -lavfopts format=asf -lavcopts acodec=wmav2:abitrate=128"
                           " -delay 0 -channels 2 -srate 44100 -af-add channels=2";
const std::string mpgCut = " -ovc copy -oac copy -of mpeg -mpegopts format=mpeg2";

struct Packet {
    double pts = 0;
    bool key = false;
};

// The picture packets of the file in file order, as ffprobe lists them.
std::vector<Packet> videoPackets(const std::string& file)
{
    RunResult r = runProgram({"ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries",
                              "packet=pts_time,dts_time,flags", "-of", "csv=p=0", file});
    std::vector<Packet> packets;
    std::istringstream in(r.output);
    for (std::string line; std::getline(in, line);) {
        size_t c1 = line.find(','), c2 = line.find(',', c1 + 1);
        if (c1 == std::string::npos || c2 == std::string::npos) continue;
        std::string pts = line.substr(0, c1);
        if (pts == "N/A") pts = line.substr(c1 + 1, c2 - c1 - 1);
        packets.push_back({std::atof(pts.c_str()), line.find('K', c2) != std::string::npos});
    }
    return packets;
}

// Where the player's seek lands, as the key-frame check reads it from the real player; -1 when
// it says nowhere.
double playerLanding(const std::string& file, const std::string& time)
{
    return qorvid::seekLanding(runCommandLine(pluginPath(1) + " -ao null -vo null -noframedrop -frames 1  -ss " + time +
                                              " -endpos 0 \"" + file + "\"").output);
}

class CopyCut : public MediaSuite<CopyCut> {
protected:
    static void SetUpTestSuite()
    {
        dir = std::make_unique<TempDir>();
        // 30 s at 25 fps; key frames every 10 s, the dense clip every 12 pictures.
        const std::vector<std::string> sparse = {"-g", "250", "-keyint_min", "250", "-sc_threshold", "0"};
        auto make = [&](const std::string& name, std::vector<std::string> gop, const std::vector<std::string>& codecs) {
            gop.insert(gop.end(), codecs.begin(), codecs.end());
            gop.insert(gop.begin(), {"-ac", "2", "-b:v", "300k"});
            makeMedia(dir->file(name), "testsrc=size=160x120:rate=25:duration=30", "sine=frequency=440:sample_rate=44100:duration=30", gop);
        };
        make("sparse.avi", sparse, {"-c:v", "mpeg4", "-c:a", "libmp3lame"});
        make("dense.avi", {"-g", "12"}, {"-c:v", "mpeg4", "-c:a", "libmp3lame"});
        make("sparse.wmv", sparse, {"-c:v", "wmv2", "-c:a", "wmav2", "-f", "asf"});
        make("sparse.mpg", sparse, {"-c:v", "mpeg2video", "-b:v", "2M", "-c:a", "mp2", "-f", "vob"});
        make("sparse.mp4", sparse, {"-c:v", "mpeg4", "-c:a", "aac"});
        make("sparse.mkv", sparse, {"-c:v", "mpeg4", "-c:a", "libmp3lame"});
    }
    TempDir out_;
};

// The player's landing for the mark must be a key frame; the cut starts on it, is a run of the
// source's pictures and holds the -endpos length (or what is left).
TEST_F(CopyCut, StartsWhereThePlayerSeekLandsAndLastsTheLength)
{
    struct Cut {
        const char *mark, *length; // seconds, "SS.S"
        double firstPicture = -1; // where the first picture lies in the source, when the row pins it down
    };
    struct Source {
        const char* name;
        std::string options; // the cut template's options before -ss
        const char* ext;
        double playerShift; // the player's clock minus ffprobe's (an ASF clock counts the preroll)
        std::vector<Cut> cuts;
    };
    // Key frames every 10 s (dense: every 12 pictures). Marks between key frames, on one, just
    // after one, and from a key frame to past the end. The player's own ASF seek goes by the
    // header's bit rate and would pass the key frame on the mark (and the one after 9 s).
    const Source sources[] = {
        {"sparse.avi", aviCut, "avi", 0, {{"05.0", "10.0"}, {"10.0", "10.0"}, {"10.1", "05.0"}, {"20.0", "15.0"}}},
        {"dense.avi", aviCut, "avi", 0, {{"05.0", "04.0"}, {"10.0", "04.0"}}},
        {"sparse.wmv", wmvCut, "wmv", 3.1, {{"05.0", "10.0", 10.05}, {"09.0", "05.0", 10.05}, {"10.0", "05.0", 10.05}, {"10.1", "05.0", 20.05}}},
        {"sparse.mpg", mpgCut, "mpg", 0, {{"05.0", "10.0"}, {"10.0", "05.0"}, {"10.1", "05.0"}}},
        {"sparse.mp4", aviCut, "avi", 0, {{"10.0", "10.0"}, {"10.1", "05.0"}}},
        {"sparse.mkv", aviCut, "avi", 0, {{"05.0", "10.0"}, {"10.1", "05.0"}, {"20.0", "15.0"}}},
    };
    for (const Source& s : sources) {
        const std::string source = dir->file(s.name);
        const std::vector<Packet> packets = videoPackets(source);
        const std::vector<std::string> hashes = videoPacketHashes(source);
        ASSERT_EQ(packets.size(), hashes.size());
        for (const Cut& c : s.cuts) {
            const std::string mark = std::string("00:00:") + c.mark, length = std::string("00:00:") + c.length;
            SCOPED_TRACE(std::string(s.name) + " -ss " + mark + " -endpos " + length);
            const double landing = playerLanding(source, mark);
            ASSERT_GE(landing, 0) << "the player found no landing time";
            auto off = [&](size_t i) { return std::fabs(packets[i].pts + s.playerShift - landing); };
            size_t key = packets.size();
            for (size_t i = 0; i < packets.size(); ++i)
                if (packets[i].key && off(i) < 0.2 && (key == packets.size() || off(i) < off(key))) key = i;
            ASSERT_LT(key, packets.size()) << "no key frame near the landing at " << landing;

            const std::string target = out_.file("cut." + std::string(s.ext));
            RunResult r = runCommandLine(pluginPath(2) + s.options + " -ss " + mark + " -endpos " + length +
                                         " -vf-add harddup -mc 0 \"" + source + "\" -o \"" + target + "\"");
            ASSERT_EQ(r.exitCode, 0) << r.output;
            std::vector<std::string> cut = videoPacketHashes(target);
            ASSERT_FALSE(cut.empty());
            EXPECT_EQ(cut.front(), hashes[key]) << "expected to start at the key frame at " << packets[key].pts;
            if (c.firstPicture >= 0) { EXPECT_NEAR(packets[key].pts, c.firstPicture, 0.1); }
            EXPECT_TRUE(isRunOf(cut, hashes));
            const double available = static_cast<double>(packets.size() - key);
            EXPECT_NEAR(static_cast<double>(cut.size()), std::min(std::atof(c.length) * 25, available), 2.0);
        }
    }
}

// The time or number after the text in the key-frame question, -1 when nothing was asked.
double askedNumber(const std::string& output, const std::string& before)
{
    const size_t at = output.find(before);
    if (at == std::string::npos) return -1;
    std::istringstream in(output.substr(at + before.size()));
    std::string word;
    in >> word;
    return qorvid::timeToSeconds(word, 0);
}

// The whole cut through qorvid-cli: the target begins where the key-frame check says it will
// (at the mark when it asks nothing, else at the previous key frame it offers) and is as long
// as the range it announces.
TEST_F(CopyCut, CliCutHoldsWhatTheKeyFrameCheckAnnounces)
{
    struct Mark {
        const char* text;
        double seconds;
        bool asked[2]; // in the WMV and the AVI: false when the seek lands on or before the mark
    };
    for (int avi : {0, 1}) {
        const char* ext = avi ? "avi" : "wmv";
        const std::string source = dir->file(std::string("sparse.") + ext);
        const std::vector<Packet> packets = videoPackets(source);
        const std::vector<std::string> hashes = videoPacketHashes(source);
        ASSERT_EQ(packets.size(), hashes.size());
        // Between key frames, on one, just after one (the AVI seek goes to the nearest); the range ends at 25 s.
        for (const Mark& m : {Mark{"00:00:05.0", 5.0, {true, true}}, Mark{"00:00:10.0", 10.0, {false, false}},
                              Mark{"00:00:10.1", 10.1, {true, false}}}) {
            SCOPED_TRACE(source + " " + m.text);
            TempDir out;
            RunResult r = runProgram({buildDir() + "qorvid-cli", "convert", source, "--to", "cut", "--mark", m.text,
                                      "00:00:25.0", "--yes", "--lang", "en", "--target-dir", out.path()});
            ASSERT_EQ(r.exitCode, 0) << r.output;
            const double offered = askedNumber(r.output, "previous key frame at");
            EXPECT_EQ(offered >= 0, m.asked[avi]) << r.output;
            const double earlier = askedNumber(r.output, "==> earlier by");
            const double start = offered >= 0 ? offered : m.seconds;
            const double length = offered >= 0 ? 25 - m.seconds + earlier + 0.75 : 25 - m.seconds;

            std::vector<std::string> cut = videoPacketHashes(out.file(std::string("sparse_Cut.") + ext));
            ASSERT_FALSE(cut.empty()) << r.output;
            const size_t first = std::find(hashes.begin(), hashes.end(), cut.front()) - hashes.begin();
            ASSERT_LT(first, hashes.size()) << "the first picture is none of the source's";
            // The announced times are the player's, shown with one decimal after its sound clock.
            EXPECT_NEAR(packets[first].pts, start, 0.2) << r.output;
            EXPECT_NEAR(static_cast<double>(cut.size()) / 25, length, 0.1) << r.output;
        }
    }
}

} // namespace
