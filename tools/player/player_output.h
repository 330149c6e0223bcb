#pragma once
#include "common/output_relay.h"
#include "player/source_facts.h"

#include <string>

namespace qorvid::tools {

// Makes the player's console output read like that of the older player the system was made
// for: the video-decoder block (ending in "ID_VIDEO_CODEC=") follows the file header instead
// of preceding it, so that the sound values read after it are the decoder's real ones; the MP3
// decoder is reported as "mp3"; a GIF file reports no picture size or frame rate in its
// ID_ lines, which sends the probe into its frame-counting pass. Sound values of 0 (the file
// header's placeholders before the decoder has opened) are left out, and an ASF file's length
// counts from the start of its time line, its preroll included.
// With the facts of the file at hand, two guesses of the player are checked: a file that is
// not DV but was read as raw DV (its last resort) is reported as not recognised, and a sound
// file read by its plain audio reader, whose length is a whole-second guess, gets its real length.
class PlayerOutputRewriter : public LineRewriter {
public:
    PlayerOutputRewriter() = default;
    explicit PlayerOutputRewriter(SourceFacts facts) : facts_(std::move(facts)) {}
    std::string line(const std::string& line) override;
    std::string finish() override;
    bool mayPrintUnfinished() const override;

private:
    enum class State { Passing, Capturing, Holding, NotRecognised };
    std::string rewrite(const std::string& line);
    std::string release();
    std::string giveUp();
    std::string checkLength(const std::string& line);
    std::string notRecognised(const std::string& line);

    SourceFacts facts_;
    std::string file_;    // as the player names it (ID_FILENAME)
    std::string demuxer_;

    State state_ = State::Passing;
    bool moved_ = false;
    bool gif_ = false;
    bool asf_ = false;
    double startTime_ = 0;
    bool separatorHeld_ = false;
    std::string separator_;
    std::string block_;
    int blockLines_ = 0;
};

} // namespace qorvid::tools
