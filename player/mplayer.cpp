#include "player/mplayer.h"

#include "app/lang_text.h"
#include "app/paths.h"
#include "media/job_state.h"
#include "media/probe.h"
#include "player/player_status.h"
#include "util/command_capture.h"
#include "util/file_object.h"
#include "util/reporters.h"
#include "util/text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace qorvid {
namespace {

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

// Halves go to the even neighbour, as the rest of the player's arithmetic does.
int evenRound(float x)
{
    if (!(x > -2e9f && x < 2e9f)) return 0;
    return static_cast<int>(std::nearbyint(x));
}

// The probe's messages are not shown here: the window reports what cannot be played.
class SilentSink final : public MessageSink {
public:
    void showMessage(const std::string&) override {}
};

bool positiveNumber(const std::string& value, double& out)
{
    if (value.empty()) return false;
    out = leadingNumber(value);
    return out > 0;
}

// A poll may bring several status lines: the newest one that holds a time counts, so that a
// paused player shows where it stopped rather than where the stretch began.
std::optional<float> latestPosition(const std::string& s, float timeShift)
{
    size_t end = s.size();
    while (end > 0) {
        const size_t from = s.find_last_of("\r\n", end - 1);
        const size_t begin = from == std::string::npos ? 0 : from + 1;
        if (begin < end)
            if (auto t = statusPosition(std::string_view(s).substr(begin, end - begin), timeShift)) return t;
        if (from == std::string::npos) break;
        end = from;
    }
    return std::nullopt;
}

} // namespace

std::string tenthsText(double seconds)
{
    if (!(seconds > 0)) seconds = 0;
    seconds = std::min(seconds, 1e12);
    const long long hundredths = static_cast<long long>(std::floor((seconds + 0.004) * 100));
    const long long tenths = (hundredths + 5) / 10;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::string commandNumber(double value)
{
    if (!std::isfinite(value)) return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", std::nearbyint(value * 100) / 100);
    std::string s = buf;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s == "-0" ? "0" : s;
}

void getMediaNewSize(int boxWidth, int boxHeight, int& w, int& h)
{
    if (w * h == 0) {
        w = 320;
        h = 20;
    }
    float s = static_cast<float>(boxWidth) / static_cast<float>(w);
    const int fitHeight = evenRound(s * static_cast<float>(h));
    if (fitHeight <= boxHeight) {
        w = boxWidth;
        h = fitHeight;
        return;
    }
    s = static_cast<float>(boxHeight) / static_cast<float>(h);
    w = evenRound(s * static_cast<float>(w));
    h = boxHeight;
}

MPlayer::MPlayer(ConsoleTool& console, CommandCapture& runner, const AppPaths& paths, const LangText& lang,
                 PlayerWindowView& view)
    : console_(console), runner_(runner), paths_(paths), lang_(lang), view_(view)
{
}

void MPlayer::openMCI(const std::string& file, std::uint64_t targetWindow)
{
    fileName_ = file;
    targetWindow_ = targetWindow;
    volume_ = 100;
    totalFrames_ = 0;
    totalSeconds_ = 0;
    curSeconds_ = 0;
    width_ = height_ = 0;
    fps_ = length_ = timeShift_ = 0;
    audioCodec_.clear();
    videoFormat_.clear();
    demuxer_.clear();
    identifyMedia();
}

void MPlayer::readIdentify(const std::string& out)
{
    double v = 0;
    if (positiveNumber(findValue(out, "ID_VIDEO_WIDTH="), v) && v <= 32768) width_ = static_cast<int>(v);
    if (positiveNumber(findValue(out, "ID_VIDEO_HEIGHT="), v) && v <= 32768) height_ = static_cast<int>(v);
    if (positiveNumber(findValue(out, "ID_VIDEO_FPS="), v)) fps_ = static_cast<float>(v);
    const std::string length = findValue(out, "ID_LENGTH=");
    if (length.substr(0, length.find('.')).size() >= 6)
        length_ = 100000;
    else if (positiveNumber(length, v))
        length_ = static_cast<float>(v);
    if (auto s = findValue(out, "ID_DEMUXER="); !s.empty()) demuxer_ = toLower(s);
    if (auto s = findValue(out, "ID_VIDEO_FORMAT="); !s.empty()) videoFormat_ = toLower(s);
    if (auto s = findValue(out, "ID_AUDIO_CODEC="); !s.empty()) audioCodec_ = toLower(s);
}

// The source probe without its notes and labels: nothing is reported, the sound keys and the
// media service are left out, and the length is kept in whole seconds.
std::string MPlayer::identifyMedia()
{
    const std::string player = paths_.toolPath(1);
    if (!fileObject().FileExists(player)) return {};
    const std::string out = runner_.RunAndCapture(player + " -identify -ao null -vo null -frames 0 " + quoted(fileName_), false);
    readIdentify(out);
    if (demuxer_ == "mpegps" || videoFormat_ == "0x10000001" || videoFormat_ == "0x10000002") {
        float length = 0, start = 0, fps = 0;
        probeWithConverter(runner_, paths_, fileName_, length, start, fps);
        if (length > 0) length_ = length;
    }
    JobState job;
    job.srcWidth = width_;
    job.srcHeight = height_;
    job.srcFps = fps_;
    job.srcLength = length_;
    job.srcDemuxer = demuxer_;
    job.srcVideoFormat = videoFormat_;
    SilentSink silent;
    ProbeContext ctx{runner_, paths_, lang_, silent};
    std::string verdict;
    if (width_ * height_ == 0 && demuxer_ == "gif") verdict = probeGifFrames(out, fileName_, job, ctx);
    if (demuxer_ == "asf" && (job.srcFps == 0 || job.srcFps == 1000)) repairAsfRate(fileName_, job, ctx);
    width_ = job.srcWidth;
    height_ = job.srcHeight;
    fps_ = job.srcFps;
    timeShift_ = job.srcTimeShift;
    length_ = static_cast<float>(evenRound(job.srcLength));
    if (!(fps_ > 0) || fps_ == 1000) fps_ = 30;

    const std::string& sep = lang_[Msg::ListSeparator];
    std::string tip = demuxer_ + sep + videoFormat_ + sep + audioCodec_;
    if (timeShift_ != 0) tip += sep + "TimeShift= " + numberText(timeShift_);
    view_.setIconTip(tip);
    return verdict;
}

std::string MPlayer::rangeArguments(int first, int last) const
{
    if (last <= 0) return {};
    std::string s = " -ss " + tenthsText(first / static_cast<double>(fps_));
    if (last != totalFrames_) s += " -endpos " + tenthsText((last - first) / static_cast<double>(fps_));
    return s;
}

std::string MPlayer::commandLine(int first, int last)
{
    if (totalFrames_ < 1) getTotalFrames();
    first = std::max(first, 0);
    if (last > totalFrames_ || (first > 0 && last < 1)) last = totalFrames_;
    return paths_.toolPath(1) + " " + quoted(fileName_) + " -vo directx -priority abovenormal" +
           " -autosync 100 -vf-add screenshot -autoq 10 -vf-add pp -slave -identify -idx -nokeepaspect -noaspect"
           " -framedrop -osdlevel 0" +
           " -colorkey 0x010203 -wid " + std::to_string(targetWindow_) + rangeArguments(first, last);
}

void MPlayer::startEarly(const std::string& file, std::uint64_t targetWindow)
{
    fileName_ = file;
    targetWindow_ = targetWindow;
    totalFrames_ = 0;
    length_ = fps_ = 0;
    playMCI(0, 0);
    earlyRun_ = console_.running();
}

void MPlayer::playMCI(int first, int last)
{
    const bool keep = earlyRun_ && first == 0 && last == 0 && console_.running();
    earlyRun_ = false;
    if (keep) return;
    const std::string line = commandLine(first, last);
    console_.stopConsoleTool();
    if (!fileObject().FileExists(paths_.toolPath(1))) return;
    bool show = false;
    console_.startConsoleTool(line, &view_, show);
}

void MPlayer::send(const std::string& command) { console_.sendToolCommand(command, view_.playState() == kPaused); }

void MPlayer::pauseMCI() { send(view_.playState() == kPlaying ? "pause" : "frame_step"); }

void MPlayer::resumeMCI() { send("pause"); }

void MPlayer::stepMCI() { send("frame_step"); }

std::string MPlayer::getStatus() { return console_.isToolAlive() ? "" : "stopped"; }

int MPlayer::getTotalFrames()
{
    totalFrames_ = evenRound(length_ * fps_);
    return totalFrames_;
}

float MPlayer::getTotalSeconds()
{
    totalSeconds_ = length_;
    return totalSeconds_;
}

void MPlayer::setCurFrame(int frame, bool noStep)
{
    if (fps_ == 0 || length_ == 0) return;
    if (isAudioOnly())
        send("seek " + commandNumber(frame / fps_ - curSeconds_) + " 0");
    else
        send("seek " + commandNumber(frame * 100.0 / fps_ / length_) + " 1");
    if (!noStep) send("frame_step");
}

int MPlayer::getCurFrame()
{
    std::string s;
    console_.readToolOutput(s);
    lastOutput_ = s;
    if (auto t = latestPosition(s, timeShift_)) curSeconds_ = *t;
    if (auto n = indexProgress(s))
        view_.showPlayerNote(lang_[Msg::RebuildingIndex] + std::to_string(*n) + " %");
    else
        view_.hidePlayerNote();
    if (videoFailed(s) || playerExited(s)) console_.stopConsoleTool();
    return evenRound(curSeconds_ * fps_);
}

void MPlayer::setVolume(int volume)
{
    volume_ = std::clamp(volume, 0, 1000);
    send("volume " + std::to_string(volume_ / 10) + " 1");
}

void MPlayer::setAudioShow() { send("volume 0 1"); }

} // namespace qorvid
