#include "player/preview_player.h"

#include "player/player_status.h"
#include "util/text.h"

#include <algorithm>
#include <cmath>

namespace qorvid {

std::string seekPercentCommand(float seconds, float srcLength)
{
    const double percent = srcLength > 0 ? std::round(seconds * 100.0 / srcLength * 100.0) / 100.0 : 0.0;
    return "seek " + numberText(std::clamp(percent, 0.0, 100.0)) + " 1";
}

PreviewPlayer::PreviewPlayer(ConsoleTool& console, Starter starter)
    : console_(console), starter_(std::move(starter))
{
}

PreviewPlayer::~PreviewPlayer()
{
    if (running()) console_.stopConsoleTool();
}

void PreviewPlayer::setSource(float srcLength, std::string pictureFolder)
{
    stop();
    srcLength_ = srcLength;
    pictureFolder_ = std::move(pictureFolder);
    position_ = 0;
}

bool PreviewPlayer::start(float fromSeconds)
{
    const PreviewCommand command = starter_(std::max(0.0f, fromSeconds));
    animatedGif_ = command.animatedGif;
    carry_.clear();
    continuous_ = false;
    bool show = false;
    if (console_.startConsoleTool(command.commandLine, this, show, pictureFolder_) != ConsoleTool::kStarted) {
        state_ = State::Stopped;
        return false;
    }
    position_ = std::max(0.0f, fromSeconds);
    state_ = State::Play;
    return true;
}

bool PreviewPlayer::send(const std::string& command)
{
    return console_.sendToolCommand(command, state_ == State::Pause) == 0;
}

bool PreviewPlayer::play(float fromSeconds)
{
    if (state_ == State::Stopped) return start(fromSeconds);
    if (state_ == State::Pause) {
        state_ = State::Play;
        return send("pause");
    }
    return true;
}

bool PreviewPlayer::pauseButton(float fromSeconds)
{
    if (state_ == State::Play) {
        state_ = State::Pause;
        return send("pause");
    }
    // Paused: one frame on. Stopped: the first picture, paused.
    if (state_ == State::Stopped && !start(fromSeconds)) return false;
    state_ = State::Pause;
    return send("frame_step");
}

void PreviewPlayer::stop()
{
    // The console is shared: a tool the player window started is not the preview's to stop.
    const bool ours = console_.running() && console_.owner() == this;
    if (state_ == State::Stopped && !ours) return;
    if (ours) console_.stopConsoleTool();
    stopped();
}

void PreviewPlayer::stopped()
{
    const bool was = state_ != State::Stopped;
    state_ = State::Stopped;
    continuous_ = false;
    carry_.clear();
    if (was && onStopped_) onStopped_();
}

bool PreviewPlayer::seekTo(float seconds)
{
    if (state_ == State::Stopped) return false;
    if (!send(seekPercentCommand(seconds, srcLength_))) return false;
    position_ = std::clamp(seconds, 0.0f, srcLength_);
    // A paused player draws the new picture only when it steps.
    return state_ != State::Pause || send("frame_step");
}

bool PreviewPlayer::jump(int seconds)
{
    if (state_ == State::Stopped) return false;
    if (!send("seek " + std::to_string(seconds) + " 0")) return false;
    return state_ != State::Pause || send("frame_step");
}

bool PreviewPlayer::volumeStep(int direction)
{
    volume_ = std::clamp(volume_.value_or(100) + 5 * direction, 0, 100);
    if (state_ == State::Stopped) return true;
    return send("volume " + std::to_string(*volume_) + " 1");
}

bool PreviewPlayer::singlePicture()
{
    if (state_ == State::Stopped) return false;
    return send("screenshot 0");
}

bool PreviewPlayer::setContinuousPictures(bool on)
{
    if (state_ == State::Stopped) return false;
    if (on == continuous_) return true;
    bool ok = true;
    if (on) {
        // Every frame is saved while it plays.
        if (state_ == State::Pause) {
            state_ = State::Play;
            ok = send("pause");
        }
        ok = send("screenshot 1") && ok;
    } else {
        ok = send("screenshot 1");
        if (state_ == State::Play) {
            state_ = State::Pause;
            ok = send("pause") && ok;
        }
    }
    continuous_ = on;
    return ok;
}

bool PreviewPlayer::restart()
{
    if (state_ == State::Stopped) return true;
    const State was = state_;
    console_.stopConsoleTool();
    state_ = State::Stopped;
    if (!start(position_)) {
        stopped();
        return false;
    }
    if (was == State::Pause) {
        state_ = State::Pause;
        return send("frame_step");
    }
    return true;
}

PreviewNews PreviewPlayer::readOutput()
{
    PreviewNews news;
    if (state_ == State::Stopped) return news;
    const bool wasContinuous = continuous_;
    std::string text;
    console_.readToolOutput(text); // a pipe that has gone stops the preview through setStopDosIo
    std::string all = carry_ + text;
    // Only whole lines are read: a status line cut in the middle would give a wrong time.
    const size_t end = all.find_last_of("\r\n");
    carry_ = end == std::string::npos ? all : all.substr(end + 1);
    if (carry_.size() > 4096) carry_.clear();
    const std::string_view lines = end == std::string::npos ? std::string_view() : std::string_view(all).substr(0, end + 1);
    news.position = statusPosition(lines);
    if (news.position) position_ = *news.position;
    news.indexPercent = indexProgress(lines);
    news.picture = savedPicture(lines);
    news.continuousPicture = wasContinuous;
    news.videoFailed = videoFailed(lines);
    if (state_ != State::Stopped && (news.videoFailed || playerExited(lines))) stop();
    news.stopped = state_ == State::Stopped;
    return news;
}

void PreviewPlayer::setStopDosIo()
{
    console_.stopConsoleTool();
    stopped();
}

} // namespace qorvid
