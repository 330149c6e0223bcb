#pragma once
#include "player/console_tool.h"
#include "player/preview_command.h"

#include <functional>
#include <optional>
#include <string>

namespace qorvid {

// What one read of the preview player's output brought.
struct PreviewNews {
    std::optional<float> position;   // seconds
    std::optional<int> indexPercent; // the player is building an index
    std::string picture;             // a still picture was saved under this name
    bool continuousPicture = false;  // ... while continuous pictures are on
    bool videoFailed = false;        // the preview has stopped: the picture cannot be shown
    bool stopped = false;            // the preview has stopped (end of file, quit, failure, gone)
};

// The preview of the options window: which slave command each button sends in each play
// state. The window draws; this decides.
class PreviewPlayer final : public ConsoleOwner {
public:
    enum class State { Stopped, Play, Pause };
    // Builds the command line that starts the preview at the given second.
    using Starter = std::function<PreviewCommand(float startSeconds)>;

    PreviewPlayer(ConsoleTool& console, Starter starter);
    ~PreviewPlayer() override;

    // The source's length (for the slider's percentages) and the folder for still pictures.
    void setSource(float srcLength, std::string pictureFolder);
    State state() const { return state_; }
    bool running() const { return state_ != State::Stopped; }
    bool animatedGif() const { return animatedGif_; }
    float position() const { return position_; }
    // The preview volume, 0..100; none until a volume button was pressed.
    std::optional<int> volume() const { return volume_; }
    bool continuousPictures() const { return continuous_; }
    // Told whenever the preview stops, whatever the reason.
    void onStopped(std::function<void()> f) { onStopped_ = std::move(f); }

    // The buttons. Each returns false when the console refused (start failed, nothing written).
    bool play(float fromSeconds);
    bool pauseButton(float fromSeconds);
    void stop();
    bool seekTo(float seconds);
    bool jump(int seconds);
    bool volumeStep(int direction); // -1 down, +1 up
    // Still pictures need a running preview: false when there is none.
    bool singlePicture();
    bool setContinuousPictures(bool on);
    // Restarts a running preview at its position (after an adjustment changed); keeps the state.
    bool restart();

    // Reads what the player printed since the last call.
    PreviewNews readOutput();

    void setStopDosIo() override;

private:
    bool start(float fromSeconds);
    bool send(const std::string& command);
    void stopped();

    ConsoleTool& console_;
    Starter starter_;
    State state_ = State::Stopped;
    float srcLength_ = 0;
    std::string pictureFolder_;
    float position_ = 0;
    std::optional<int> volume_;
    bool continuous_ = false;
    bool animatedGif_ = false;
    std::string carry_; // an unfinished line of the last read
    std::function<void()> onStopped_;
};

// The slider's absolute seek: the percentage of the length with two decimals.
std::string seekPercentCommand(float seconds, float srcLength);

} // namespace qorvid
