// Every encoder command line the system builds, run through the encoder plugin on short clips,
// and every sound target through the converter plugin; the results are checked with ffprobe.
#include "support/test_tools.h"
#include "support/tools_media.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace qorvid::test;

namespace {

const std::string audioArgs = " -delay 0 -channels 2 -srate 44100 -af-add channels=2";
const std::string sizeArgs = " -vf-add scale=160:120";

class Sources {
public:
    Sources()
    {
        // 3 s clips, 160x120 at 25 fps with a key frame every 12 pictures, stereo tone.
        make("src.avi", {"-c:v", "mpeg4", "-g", "12", "-c:a", "libmp3lame", "-b:a", "96k"}, "44100", "2");
        make("pcm.avi", {"-c:v", "mpeg4", "-g", "12", "-c:a", "pcm_s16le"}, "22050", "1");
        make("m2.mpg", {"-c:v", "mpeg2video", "-g", "12", "-c:a", "mp2", "-f", "vob"}, "44100", "2");
        make("m1.mpg", {"-c:v", "mpeg1video", "-g", "12", "-c:a", "mp2", "-f", "mpeg"}, "44100", "2");
        make("vcd.dat", {"-c:v", "mpeg1video", "-g", "12", "-c:a", "mp2", "-f", "vcd"}, "44100", "2");
        make("dvd.vob", {"-c:v", "mpeg2video", "-g", "12", "-c:a", "ac3", "-f", "dvd"}, "48000", "2");
        make("wma1.wmv", {"-c:v", "wmv1", "-g", "12", "-c:a", "wmav1", "-f", "asf"}, "44100", "2");
        make("wma2.wmv", {"-c:v", "wmv2", "-g", "12", "-c:a", "wmav2", "-f", "asf"}, "44100", "2");
    }
    std::string path(const std::string& name) const { return dir_.file(name); }
    TempDir& dir() { return dir_; }

private:
    void make(const std::string& name, std::vector<std::string> codecs, const std::string& rate,
              const std::string& channels)
    {
        std::vector<std::string> args = {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=3",
                                         "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=" + rate + ":duration=3",
                                         "-ac", channels, "-b:v", "400k"};
        args.insert(args.end(), codecs.begin(), codecs.end());
        args.push_back(dir_.file(name));
        ffmpeg(args);
    }
    TempDir dir_;
};

class EncoderConformance : public ::testing::Test {
protected:
    static void SetUpTestSuite() { sources_ = std::make_unique<Sources>(); }
    static void TearDownTestSuite() { sources_.reset(); }
    static std::string src(const std::string& name) { return sources_->path(name); }
    TempDir out_;
    static std::unique_ptr<Sources> sources_;
};
std::unique_ptr<Sources> EncoderConformance::sources_;

struct Expected {
    std::string format;
    std::string video;
    std::string audio;
    std::string tag;   // AVI tag, "" when not checked
    int width = 160;
    int height = 120;
    std::string fps;   // "" when not checked
    double duration = 3;
    std::string rate = "44100";
    std::string channels = "2";
};

// Runs the encoder command and checks what the system relies on: rising "Pos:" lines, a
// target, and its streams.
void runEncoderRow(const std::string& command, const std::string& target, const Expected& e,
                   double tolerance = 0.25)
{
    SCOPED_TRACE(command);
    RunResult r = runCommandLine(command);
    ASSERT_EQ(r.exitCode, 0) << r.output;
    auto positions = numbersAfter(r.output, "Pos:", "s ");
    ASSERT_GE(positions.size(), 2u) << r.output;
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end())) << r.output;
    EXPECT_GT(positions.back(), positions.front());
    ASSERT_TRUE(fileExists(target));
    MediaFacts f = probeFacts(target);
    EXPECT_EQ(f.format["format_name"], e.format);
    EXPECT_EQ(f.video["codec_name"], e.video);
    if (!e.tag.empty()) {
        EXPECT_EQ(f.video["codec_tag_string"], e.tag);
    }
    EXPECT_EQ(f.video["width"], std::to_string(e.width));
    EXPECT_EQ(f.video["height"], std::to_string(e.height));
    if (!e.fps.empty()) {
        EXPECT_EQ(f.video["r_frame_rate"], e.fps);
    }
    EXPECT_EQ(f.audio["codec_name"], e.audio);
    EXPECT_EQ(f.audio["sample_rate"], e.rate);
    EXPECT_EQ(f.audio["channels"], e.channels);
    double duration = std::atof(f.format["duration"].c_str());
    EXPECT_NEAR(duration, e.duration, tolerance);
}

Expected E(std::string format, std::string video, std::string audio, std::string tag = "",
           int width = 160, int height = 120, std::string fps = "", double duration = 3,
           std::string rate = "44100", std::string channels = "2")
{
    return {format, video, audio, tag, width, height, fps, duration, rate, channels};
}

std::string q(const std::string& path) { return "\"" + path + "\""; }

} // namespace

TEST_F(EncoderConformance, VideoTargets)
{
    const std::string tool = pluginPath(2);
    struct Row {
        std::string kind, pieces, ext, tailSize;
        Expected e;
    };
    const std::string fps = "25", gop = "23", vrate = "800", arate = "64";
    const std::vector<Row> rows = {
        {"MPEG1", " -oac lavc -ovc lavc -of lavf -lavfopts format=vcd -lavcopts vcodec=mpeg1video:keyint=" + gop +
                      ":vrc_buf_size=1200:vrc_minrate=1200:vrc_maxrate=1200:vbitrate=1200:acodec=mp2:abitrate=" + arate + " -ofps " + fps,
         "mpg", sizeArgs, E("mpeg", "mpeg1video", "mp2", "", 160, 120, "25/1")},
        {"VCD", " -oac lavc -ovc lavc -of lavf -lavfopts format=vcd -lavcopts vcodec=mpeg1video:keyint=18:vrc_buf_size=1152:vrc_minrate=1152:vrc_maxrate=1152:vbitrate=1152:acodec=mp2:abitrate=224 -ofps 30000/1001",
         "dat", " -vf-add scale=352:240", E("mpeg", "mpeg1video", "mp2", "", 352, 240, "30000/1001")},
        {"MPEG2", " -oac lavc -ovc lavc -of mpeg -mpegopts format=mpeg2 -lavcopts vcodec=mpeg2video:keyint=" + gop +
                      ":vrc_buf_size=" + vrate + ":vrc_maxrate=2400:vbitrate=" + vrate + ":vstrict=0:acodec=mp2:abitrate=" + arate + " -ofps " + fps,
         "mpg", sizeArgs, E("mpeg", "mpeg2video", "mp2", "", 160, 120, "25/1")},
        {"DVD", " -oac lavc -ovc lavc -of mpeg -mpegopts format=dvd:tsaf -lavcopts vcodec=mpeg2video:keyint=18:vrc_buf_size=1835:vrc_maxrate=9000:vbitrate=4800:vstrict=0:acodec=ac3:abitrate=320 -ofps 30000/1001",
         "vob", " -vf-add scale=720:480", E("mpeg", "mpeg2video", "ac3", "", 720, 480, "30000/1001")},
        {"WMV7", " -oac lavc -ovc lavc -of lavf -lavfopts format=asf -lavcopts vcodec=wmv1:keyint=" + gop + ":vbitrate=" + vrate +
                     ":acodec=wmav1:abitrate=" + arate + " -ofps " + fps,
         "wmv", sizeArgs, E("asf", "wmv1", "wmav1")},
        {"WMV8", " -oac lavc -ovc lavc -of lavf -lavfopts format=asf -lavcopts vcodec=wmv2:keyint=" + gop + ":vbitrate=" + vrate +
                     ":acodec=wmav2:abitrate=" + arate + " -ofps " + fps,
         "wmv", sizeArgs, E("asf", "wmv2", "wmav2")},
        {"MP42", " -noodml -oac lavc -ovc lavc -of lavf -lavfopts format=asf -lavcopts vcodec=msmpeg4v2:keyint=" + gop +
                     ":vbitrate=" + vrate + ":acodec=wmav2:abitrate=" + arate + " -ofps " + fps,
         "wmv", sizeArgs, E("asf", "msmpeg4v2", "wmav2")},
        {"MP42", " -noodml -ovc lavc -of lavf -lavfopts format=avi -lavcopts vcodec=msmpeg4v2:keyint=" + gop + ":vbitrate=" + vrate +
                     " -oac mp3lame -lameopts cbr:br=" + arate + " -ofps " + fps,
         "avi", sizeArgs, E("avi", "msmpeg4v2", "mp3", "MP42", 160, 120, "25/1")},
        {"XviD", " -noodml -ofps " + fps + " -ovc xvid -xvidencopts max_key_interval=" + gop + ":bitrate=" + vrate +
                     ":max_bframes=0:quant_type=h263:me_quality=4 -oac mp3lame -lameopts cbr:br=" + arate,
         "avi", sizeArgs, E("avi", "mpeg4", "mp3", "XVID", 160, 120, "25/1")},
        {"DivX", " -noodml -ofps " + fps + " -ovc lavc -ffourcc DX50 -lavcopts vcodec=mpeg4:keyint=" + gop + ":vbitrate=" + vrate +
                     " -oac mp3lame -lameopts cbr:br=" + arate,
         "avi", sizeArgs, E("avi", "mpeg4", "mp3", "DX50", 160, 120, "25/1")},
        {"H.264", " -noodml -ofps " + fps + " -ovc x264 -x264encopts keyint=" + gop + ":bitrate=" + vrate +
                      ":bframes=0 -oac mp3lame -lameopts cbr:br=" + arate,
         "avi", sizeArgs, E("avi", "h264", "mp3", "H264", 160, 120, "25/1")},
    };
    for (const auto& row : rows) {
        std::string target = out_.file(row.kind + "." + row.ext);
        std::string command = tool + row.pieces + row.tailSize + audioArgs + " -vf-add harddup -mc 1" +
                              " " + q(src("src.avi")) + " -o " + q(target);
        runEncoderRow(command, target, row.e);
    }
}

TEST_F(EncoderConformance, SoundAsMp3KeepsThePictureBitExact)
{
    std::string target = out_.file("audmp3.avi");
    std::string command = pluginPath(2) + " -noodml -ovc copy -oac mp3lame -lameopts cbr:br=64" + audioArgs +
                          " -vf-add harddup -mc 0 " + q(src("pcm.avi")) + " -o " + q(target);
    runEncoderRow(command, target, E("avi", "mpeg4", "mp3", "FMP4", 160, 120, "25/1"));
    EXPECT_EQ(videoPacketHashes(target), videoPacketHashes(src("pcm.avi")));
}

TEST_F(EncoderConformance, QuickOperations)
{
    const std::string tool = pluginPath(2);
    const std::string cut = " -ss 00:00:01.0 -endpos 00:00:01.5";
    const std::string wmvAudio = " -delay 0 -channels 2 -srate 44100 -af-add channels=2";
    const std::string vol = " -af-add volume=3";
    const std::string end = " -vf-add harddup -mc 0";
    struct Row {
        std::string name, source, ext, pieces;
        Expected e;
        bool cut;
    };
    const std::vector<Row> rows = {
        {"vol-mpg2", "m2.mpg", "mpg", " -ovc copy -oac lavc -of mpeg -mpegopts format=mpeg2 -lavcopts acodec=mp2:abitrate=64" + cut + audioArgs + vol + end,
         E("mpeg", "mpeg2video", "mp2"), true},
        {"vol-mpg1", "m1.mpg", "mpg", " -ovc copy -oac lavc -of lavf -lavfopts format=vcd -lavcopts acodec=mp2:abitrate=64" + cut + audioArgs + vol + end,
         E("mpeg", "mpeg1video", "mp2"), true},
        {"vol-dat", "vcd.dat", "dat", " -ovc copy -oac lavc -of lavf -lavfopts format=vcd -lavcopts acodec=mp2:abitrate=224" + cut + audioArgs + vol + end,
         E("mpeg", "mpeg1video", "mp2"), true},
        {"vol-vob", "dvd.vob", "vob", " -ovc copy -oac lavc -of mpeg -mpegopts format=dvd:tsaf -lavcopts acodec=ac3:abitrate=320" + cut +
                                          " -delay 0 -channels 2 -srate 48000 -af-add channels=2" + vol + end,
         E("mpeg", "mpeg2video", "ac3", "", 160, 120, "", 3, "48000"), true},
        {"vol-wma1", "wma1.wmv", "wmv", " -ovc copy -oac lavc -of lavf -lavfopts format=asf -lavcopts acodec=wmav1:abitrate=64" + cut + audioArgs + vol + end,
         E("asf", "wmv1", "wmav1"), true},
        {"vol-wma2", "wma2.wmv", "wmv", " -ovc copy -oac lavc -of lavf -lavfopts format=asf -lavcopts acodec=wmav2:abitrate=64" + cut + audioArgs + vol + end,
         E("asf", "wmv2", "wmav2"), true},
        {"vol-avi", "src.avi", "avi", " -noodml -ovc copy -oac mp3lame -lameopts cbr:br=64" + cut + audioArgs + vol + end,
         E("avi", "mpeg4", "mp3", "FMP4"), true},
        {"cut-mpg2", "m2.mpg", "mpg", " -ovc copy -oac copy -of mpeg -mpegopts format=mpeg2" + cut + end, E("mpeg", "mpeg2video", "mp2"), true},
        {"cut-mpg1", "m1.mpg", "mpg", " -ovc copy -oac copy -of lavf -lavfopts format=vcd" + cut + end, E("mpeg", "mpeg1video", "mp2"), true},
        {"cut-dat", "vcd.dat", "dat", " -ovc copy -oac copy -of lavf -lavfopts format=vcd" + cut + end, E("mpeg", "mpeg1video", "mp2"), true},
        {"cut-vob", "dvd.vob", "vob", " -ovc copy -oac copy -of mpeg -mpegopts format=dvd:tsaf" + cut + end,
         E("mpeg", "mpeg2video", "ac3", "", 160, 120, "", 3, "48000"), true},
        {"cut-wma1", "wma1.wmv", "wmv", " -ovc copy -oac lavc -of lavf -lavfopts format=asf -lavcopts acodec=wmav1:abitrate=64" + wmvAudio + cut + end,
         E("asf", "wmv1", "wmav1"), true},
        {"cut-wma2", "wma2.wmv", "wmv", " -ovc copy -oac lavc -of lavf -lavfopts format=asf -lavcopts acodec=wmav2:abitrate=64" + wmvAudio + cut + end,
         E("asf", "wmv2", "wmav2"), true},
        {"cut-avi-pcm", "pcm.avi", "avi", " -noodml -ovc copy -oac mp3lame -lameopts cbr:br=64 -channels 1 -srate 22050 -af-add channels=1" + cut + end,
         E("avi", "mpeg4", "mp3", "FMP4", 160, 120, "25/1", 3, "22050", "1"), true},
        {"cut-avi", "src.avi", "avi", " -noodml -ovc copy -oac copy" + cut + end, E("avi", "mpeg4", "mp3", "FMP4", 160, 120, "25/1"), true},
        {"fix-mpg2", "m2.mpg", "mpg", " -idx -ovc copy -oac copy -of mpeg -mpegopts format=mpeg2 -vf-add harddup -mc 0", E("mpeg", "mpeg2video", "mp2"), false},
        {"fix-mpg1", "m1.mpg", "mpg", " -idx -ovc copy -oac copy -of lavf -lavfopts format=vcd -vf-add harddup -mc 0", E("mpeg", "mpeg1video", "mp2"), false},
        {"fix-vob", "dvd.vob", "vob", " -idx -ovc copy -oac copy -of mpeg -mpegopts format=dvd:tsaf -vf-add harddup -mc 0",
         E("mpeg", "mpeg2video", "ac3", "", 160, 120, "", 3, "48000"), false},
        {"fix-wma1", "wma1.wmv", "wmv", " -idx -ovc copy -oac lavc -of lavf -lavfopts format=asf -lavcopts acodec=wmav1:abitrate=64" + wmvAudio + " -vf-add harddup -mc 0",
         E("asf", "wmv1", "wmav1"), false},
        {"fix-wma2", "wma2.wmv", "wmv", " -idx -ovc copy -oac lavc -of lavf -lavfopts format=asf -lavcopts acodec=wmav2:abitrate=64" + wmvAudio + " -vf-add harddup -mc 0",
         E("asf", "wmv2", "wmav2"), false},
        {"fix-avi-pcm", "pcm.avi", "avi", " -noodml -idx -ovc copy -oac mp3lame -lameopts cbr:br=64 -channels 1 -srate 22050 -af-add channels=1 -vf-add harddup -mc 0",
         E("avi", "mpeg4", "mp3", "FMP4", 160, 120, "25/1", 3, "22050", "1"), false},
        {"fix-avi", "src.avi", "avi", " -noodml -idx -ovc copy -oac copy -vf-add harddup -mc 0", E("avi", "mpeg4", "mp3", "FMP4", 160, 120, "25/1"), false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::string target = out_.file(row.name + "." + row.ext);
        Expected e = row.e;
        if (row.cut) e.duration = 1.5;
        std::string command = tool + row.pieces + " " + q(src(row.source)) + " -o " + q(target);
        // A copied picture can only start at a key frame (every 0.48 s here).
        runEncoderRow(command, target, e, row.cut ? 0.6 : 0.25);
        if (HasFailure()) continue;
        auto copied = videoPacketHashes(target);
        auto original = videoPacketHashes(src(row.source));
        if (row.cut) {
            EXPECT_TRUE(isRunOf(copied, original)) << row.name;
        } else {
            EXPECT_EQ(copied, original) << row.name;
        }
    }
}

TEST_F(EncoderConformance, SoundTargetsThroughTheConverter)
{
    struct Row {
        std::string ext, acodec, codec, format;
    };
    const std::vector<Row> rows = {
        {"wma", " -acodec wmav2", "wmav2", "asf"},
        {"mp4", " -f mp4 -acodec libfaac", "aac", "mov,mp4,m4a,3gp,3g2,mj2"},
        {"aac", " -f mp4 -acodec libfaac", "aac", "mov,mp4,m4a,3gp,3g2,mj2"},
        {"ac3", " -acodec ac3", "ac3", "ac3"},
        {"ogg", " -acodec vorbis", "vorbis", "ogg"},
        {"mp3", "", "mp3", "mp3"},
        {"wav", "", "pcm_s16le", "wav"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.ext);
        std::string target = out_.file("sound." + row.ext);
        std::string command = pluginPath(3) + " -y -i " + q(src("src.avi")) + row.acodec + " -vn -ab 64000" +
                              " -ss 00:00:00.5 -t 00:00:02.0 -ac 2 -ar 44100 -vol 316 " + q(target);
        RunResult r = runCommandLine(command);
        ASSERT_EQ(r.exitCode, 0) << r.output;
        EXPECT_FALSE(numbersAfter(r.output, "time=", " bitrate").empty()) << r.output;
        EXPECT_EQ(r.output.find("time=00:"), std::string::npos);
        MediaFacts f = probeFacts(target);
        EXPECT_EQ(f.format["format_name"], row.format);
        EXPECT_EQ(f.audio["codec_name"], row.codec);
        EXPECT_EQ(f.audio["sample_rate"], "44100");
        EXPECT_EQ(f.audio["channels"], "2");
        EXPECT_TRUE(f.video.empty());
        EXPECT_NEAR(std::atof(f.format["duration"].c_str()), 2.0, 0.15);
    }
}
