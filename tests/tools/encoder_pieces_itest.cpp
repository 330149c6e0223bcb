// A long DivX or XviD encoding is shared out over the cores in pieces and joined. The joined
// file must hold the pictures of the same job run whole (on one core) one for one, and its
// sound bit for bit, whatever the source's clock: an MPEG programme stream whose sound starts
// before its picture, a Matroska file whose picture starts half a second late, an AVI whose
// pictures lie exactly on the places of the result. The small files' jobs start whole while
// the source is read; the big one's waits for the reading.
#include "encoder/pieces.h"
#include "support/test_tools.h"
#include "support/tools_media.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

using namespace qorvid::test;

namespace {

class EncoderPieces : public MediaSuite<EncoderPieces> {
protected:
    static void SetUpTestSuite()
    {
        dir = std::make_unique<TempDir>();
        // At a DVD's rate it is big enough (42 MB) to be read before the job starts.
        makeMedia(dir->file("dvd.mpg"), "testsrc2=size=320x240:rate=25:duration=24", "sine=sample_rate=48000:duration=24",
                  {"-c:v", "mpeg2video", "-b:v", "14M", "-minrate", "14M", "-maxrate", "14M", "-bufsize", "1835k",
                   "-c:a", "mp2", "-f", "vob"});
        makeMedia(dir->file("clip.avi"), "testsrc2=size=320x240:rate=25:duration=24", "sine=duration=24",
                  {"-c:v", "mpeg4", "-q:v", "3", "-c:a", "pcm_s16le"});
        ffmpeg({"-itsoffset", "0.5", "-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=24", "-f", "lavfi", "-i",
                "sine=duration=25", "-map", "0:v", "-map", "1:a", "-c:v", "mpeg4", "-q:v", "3", "-c:a", "libmp3lame",
                dir->file("late.mkv")});
        // An ffmpeg that writes down each command line before it runs the real one.
        const char* path = std::getenv("PATH");
        std::filesystem::create_directories(dir->file("bin"));
        writeScript(dir->file("bin/ffmpeg"), "printf '%s\\n' \"$*\" >>'" + dir->file("calls") + "'\nPATH='" +
                                                 std::string(path ? path : "/usr/bin") + "' exec ffmpeg \"$@\"\n");
    }

    static std::vector<std::string> encoderArgs(const std::string& options, const std::string& source, const std::string& target)
    {
        std::vector<std::string> args = splitCommandLine(pluginPath(2) + " " + options + " -vf-add harddup -mc 1");
        args.insert(args.end(), {source, "-o", target});
        return args;
    }
};

// Each picture's PSNR (dB) against the other file's picture in the same place.
std::vector<double> picturePsnr(const std::string& a, const std::string& b, const TempDir& work)
{
    const std::string stats = work.file("psnr.txt");
    ffmpeg({"-i", a, "-i", b, "-lavfi", "[0:v]setpts=N/25/TB[a];[1:v]setpts=N/25/TB[b];[a][b]psnr=stats_file=" + stats,
            "-f", "null", "-"});
    std::vector<double> values;
    std::istringstream in(readFile(stats));
    for (std::string line; std::getline(in, line);) {
        const size_t at = line.find("psnr_avg:");
        if (at == std::string::npos) continue;
        const std::string v = line.substr(at + 9, line.find(' ', at) - at - 9);
        values.push_back(v == "inf" ? 99 : std::atof(v.c_str()));
    }
    return values;
}

// The pictures a decoder gets out of the file (an AVI may also index empty ones).
std::string decodedPictures(const std::string& file)
{
    return runProgram({"ffprobe", "-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
                       "stream=nb_read_frames", "-of", "csv=p=0", file}).output;
}

std::string soundChecksum(const std::string& file)
{
    return runProgram({"ffmpeg", "-v", "error", "-i", file, "-map", "0:a", "-c", "copy", "-f", "md5", "-"}).output;
}

} // namespace

TEST_F(EncoderPieces, JoinedPiecesHoldTheWholeRunsPicturesAndSound)
{
    if (qorvid::tools::usableCores() < 2) GTEST_SKIP() << "one core: every job runs whole";
    const std::string divx = "-noodml -ovc lavc -ffourcc DX50 -lavcopts vcodec=mpeg4:keyint=23:vbitrate=600 "
                             "-oac mp3lame -lameopts cbr:br=64";
    const std::string xvid = "-noodml -ovc xvid -xvidencopts max_key_interval=23:bitrate=600:max_bframes=0:"
                             "quant_type=h263:me_quality=4 -oac mp3lame -lameopts cbr:br=64";
    // The clocks are the job's, not the encoder's: XviD on one of them. 20 a second is the
    // DivX target's own rate; the sources have 25.
    for (const auto& [source, options] :
         {std::pair{"dvd.mpg", divx + " -ofps 20"}, std::pair{"late.mkv", divx + " -ofps 20"},
          std::pair{"clip.avi", divx + " -ofps 25"}, std::pair{"dvd.mpg", xvid + " -ofps 25"}}) {
        SCOPED_TRACE(std::string(source) + ": " + options);
        TempDir out;
        writeFile(dir->file("calls"), "");
        RunResult pieces;
        {
            ScopedEnv env;
            env.set("PATH", (dir->file("bin") + ":" + std::getenv("PATH")).c_str());
            pieces = runProgram(encoderArgs(options, dir->file(source), out.file("pieces.avi")));
        }
        ASSERT_EQ(pieces.exitCode, 0) << pieces.output;
        const std::string calls = readFile(dir->file("calls"));
        EXPECT_NE(calls.find("trim=start="), std::string::npos) << calls; // a later piece
        EXPECT_NE(calls.find("-f concat"), std::string::npos) << calls;
        // The pieces' positions add up to the whole's, never going back.
        const std::vector<double> position = numbersAfter(pieces.output, "Pos:", "s ");
        ASSERT_FALSE(position.empty()) << pieces.output;
        EXPECT_TRUE(std::is_sorted(position.begin(), position.end())) << pieces.output;
        EXPECT_GT(position.back(), 23.5);

        std::vector<std::string> oneCore = encoderArgs(options, dir->file(source), out.file("whole.avi"));
        oneCore.insert(oneCore.begin(), {"taskset", "-c", "0"});
        RunResult whole = runProgram(oneCore);
        ASSERT_EQ(whole.exitCode, 0) << whole.output;

        EXPECT_EQ(decodedPictures(out.file("pieces.avi")), decodedPictures(out.file("whole.avi")));
        EXPECT_EQ(ffprobeValue(out.file("pieces.avi"), "v:0", "codec_tag_string"),
                  ffprobeValue(out.file("whole.avi"), "v:0", "codec_tag_string"));
        // A picture out of place would be another picture of the moving test card: 20 dB.
        const std::vector<double> psnr = picturePsnr(out.file("pieces.avi"), out.file("whole.avi"), out);
        EXPECT_GT(psnr.size(), 470u);
        for (size_t i = 0; i < psnr.size(); ++i) ASSERT_GT(psnr[i], 30) << "picture " << i;
        EXPECT_EQ(soundChecksum(out.file("pieces.avi")), soundChecksum(out.file("whole.avi")));
    }
}
