#pragma once
#include "player/console_tool.h"

#include <cstdint>
#include <string>

namespace qorvid {

class CommandCapture;
class LangText;
struct AppPaths;

// The player window's play state, which the engine reads (paused commands keep the pause).
enum PlayState : int { kPlaying = 1, kPaused = 4, kStopped = 5 };

// What the engine needs of the player window: its state, its note over the video and the
// tool tip of its file icon. The window is also told when the tool has gone.
class PlayerWindowView : public ConsoleOwner {
public:
    virtual int playState() const = 0;
    virtual void showPlayerNote(const std::string& /*text*/) {}
    virtual void hidePlayerNote() {}
    virtual void setIconTip(const std::string& /*text*/) {}
};

// The player window's engine: probes a file, starts the player tool in slave mode drawing
// into a window, and turns play, pause, seek and volume requests into slave commands and
// the tool's status lines into a frame number.
class MPlayer {
public:
    MPlayer(ConsoleTool& console, CommandCapture& runner, const AppPaths& paths, const LangText& lang,
            PlayerWindowView& view);

    const std::string& FileName() const { return fileName_; }
    void setFileName(std::string name) { fileName_ = std::move(name); }
    // Length above 0 and no picture.
    bool isAudioOnly() const { return length_ > 0 && width_ * height_ == 0; }
    bool isVideoOnly() const { return audioCodec_.empty(); }
    // False only when the file has neither a length nor a picture.
    bool isSuccess() const { return !(length_ <= 0 && width_ * height_ <= 0); }

    // Forgets the last file and probes this one (volume back to 100).
    void openMCI(const std::string& file, std::uint64_t targetWindow);
    // Starts the tool on the whole file before openMCI has probed it, so that the first
    // picture does not wait for the probe; the next playMCI(0, 0) keeps this run.
    void startEarly(const std::string& file, std::uint64_t targetWindow);
    // Starts the tool on the frames given (0, 0: the whole file).
    void playMCI(int firstFrame, int lastFrame);
    void putMCI(int, int) {}
    void pauseMCI();
    void resumeMCI();
    void stepMCI();
    void stopMCI() { console_.stopConsoleTool(); }
    void closeMCI() { console_.stopConsoleTool(); }
    void closeAllMCI() { console_.stopConsoleTool(); }
    // "stopped" once the tool has gone, else "".
    std::string getStatus();
    int getTotalFrames();
    float getTotalSeconds();
    void setCurFrame(int frame, bool noStep);
    // One poll of the tool's output: the current frame.
    int getCurFrame();
    float getFramesPerSecond() const { return fps_; }
    float getFramesRateMPG() const { return fps_; }
    void getDefaultSize(int& width, int& height) const
    {
        width = width_;
        height = height_;
    }
    int getVolume() const { return volume_; }
    void setVolume(int volume);
    void setAudioShow();
    bool getAudioOnOff() const { return false; }
    void setSpeed(int) {}
    int getSpeed() const { return 0; }

    // The output of the last poll, as read.
    const std::string& lastOutput() const { return lastOutput_; }
    float curSeconds() const { return curSeconds_; }
    float timeShift() const { return timeShift_; }
    // The slave-mode command line playMCI starts (without the tool's existence check).
    std::string commandLine(int firstFrame, int lastFrame);
    // " -ss" and " -endpos" for the frames, after the frames were put into range.
    std::string rangeArguments(int firstFrame, int lastFrame) const;

private:
    std::string identifyMedia();
    void readIdentify(const std::string& out);
    void send(const std::string& command);

    ConsoleTool& console_;
    CommandCapture& runner_;
    const AppPaths& paths_;
    const LangText& lang_;
    PlayerWindowView& view_;

    std::string fileName_;
    std::uint64_t targetWindow_ = 0;
    int totalFrames_ = 0;
    float totalSeconds_ = 0;
    int volume_ = 100;
    float curSeconds_ = 0;
    int width_ = 0, height_ = 0;
    float fps_ = 0;
    float length_ = 0;
    float timeShift_ = 0;
    std::string audioCodec_, videoFormat_, demuxer_;
    std::string lastOutput_;
    bool earlyRun_ = false;
};

// Seconds with one decimal for the player's command line: a negative time is 0; the time is
// cut to hundredths (after adding 0.004) and then rounded to tenths (83.456 -> "83.5").
std::string tenthsText(double seconds);
// A slave command's number: two decimals at most, a dot, no trailing zeros ("12.5", "-3").
std::string commandNumber(double value);

// Fits a picture into a box keeping its aspect ratio; a picture of unknown size (0 x 0) is
// taken as 320 x 20.
void getMediaNewSize(int boxWidth, int boxHeight, int& pictureWidth, int& pictureHeight);

} // namespace qorvid
