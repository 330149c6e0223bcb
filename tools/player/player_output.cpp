#include "player/player_output.h"

#include "common/line_stream.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace qorvid::tools {
namespace {

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool isSeparator(std::string_view text)
{
    return text.size() >= 20 && text.find_first_not_of('=') == std::string_view::npos;
}

// Lines that come after the file header: the held decoder block must be out before them.
bool endsHeader(std::string_view text)
{
    for (std::string_view p : {"Audio: no sound", "Starting playback", "Exiting...", "ID_EXIT=",
                               "Video: no video", "FATAL:"})
        if (startsWith(text, p)) return true;
    return false;
}

// A decoder block longer than this is not the one we know; stop holding it.
constexpr int maxBlockLines = 200;

} // namespace

std::string PlayerOutputRewriter::line(const std::string& line)
{
    if (state_ == State::NotRecognised) return notRecognised(line);
    std::string_view text = lineText(line);
    if (text == "ID_DEMUXER=rawdv" && facts_.isDv && !facts_.isDv(file_)) return giveUp();
    std::string out;
    if (separatorHeld_) {
        separatorHeld_ = false;
        std::string separator = std::move(separator_);
        separator_.clear();
        if (state_ == State::Passing && !moved_ && startsWith(text, "Opening video decoder")) {
            state_ = State::Capturing;
            block_ = separator + rewrite(line);
            blockLines_ = 2;
            return out;
        }
        if (state_ == State::Holding) out += release();
        out += separator;
    }
    if (state_ == State::Capturing) {
        block_ += rewrite(line);
        ++blockLines_;
        if (startsWith(text, "ID_VIDEO_CODEC=")) state_ = State::Holding;
        else if (endsHeader(text) || blockLines_ > maxBlockLines) out += release();
        return out;
    }
    if (isSeparator(text)) {
        separator_ = line;
        separatorHeld_ = true;
        return out;
    }
    if (state_ == State::Holding && endsHeader(text)) out += release();
    out += rewrite(line);
    return out;
}

std::string PlayerOutputRewriter::finish()
{
    if (state_ == State::NotRecognised) return {};
    std::string out = release();
    out += separator_;
    separator_.clear();
    separatorHeld_ = false;
    return out;
}

bool PlayerOutputRewriter::mayPrintUnfinished() const
{
    return state_ == State::Passing && !separatorHeld_;
}

std::string PlayerOutputRewriter::notRecognised(const std::string& line)
{
    std::string_view text = lineText(line);
    return startsWith(text, "Exiting...") || startsWith(text, "ID_EXIT=") ? line : std::string();
}

// Raw DV is the player's last resort for a file nothing else could read (a film cut short
// before its index, say): unless the file really is DV, what it found is not there.
std::string PlayerOutputRewriter::giveUp()
{
    state_ = State::NotRecognised;
    block_.clear();
    separator_.clear();
    separatorHeld_ = false;
    return "============ Sorry, this file format is not recognized/supported =============\n";
}

// The plain audio reader guesses a length in whole seconds from the header.
std::string PlayerOutputRewriter::checkLength(const std::string& line)
{
    if (demuxer_ != "audio" || !facts_.duration) return line;
    std::optional<double> seconds = facts_.duration(file_);
    if (!seconds) return line;
    char value[64];
    std::snprintf(value, sizeof value, "%.2f", *seconds);
    return "ID_LENGTH=" + std::string(value) + std::string(lineEnd(line));
}

std::string PlayerOutputRewriter::release()
{
    if (state_ != State::Passing) moved_ = true;
    state_ = State::Passing;
    std::string block;
    block.swap(block_);
    return block;
}

std::string PlayerOutputRewriter::rewrite(const std::string& line)
{
    std::string_view text = lineText(line);
    constexpr std::string_view fileKey = "ID_FILENAME=", demuxerKey = "ID_DEMUXER=";
    if (startsWith(text, fileKey)) file_ = std::string(text.substr(fileKey.size()));
    if (startsWith(text, demuxerKey)) {
        demuxer_ = std::string(text.substr(demuxerKey.size()));
        if (demuxer_ == "gif") gif_ = true;
        if (demuxer_ == "asf") asf_ = true;
    }
    if (text == "GIF file format detected.") gif_ = true;
    if (gif_) {
        for (std::string_view key : {"ID_VIDEO_WIDTH=", "ID_VIDEO_HEIGHT=", "ID_VIDEO_FPS="})
            if (startsWith(text, key)) return {};
    }
    for (std::string_view key : {"ID_AUDIO_BITRATE=", "ID_AUDIO_RATE=", "ID_AUDIO_NCH="})
        if (startsWith(text, key) && text.substr(key.size()) == "0") return {};
    constexpr std::string_view startKey = "ID_START_TIME=", lengthKey = "ID_LENGTH=";
    if (startsWith(text, startKey)) startTime_ = std::atof(std::string(text.substr(startKey.size())).c_str());
    if (asf_ && startTime_ > 0 && startsWith(text, lengthKey)) {
        double length = std::atof(std::string(text.substr(lengthKey.size())).c_str());
        char value[64];
        std::snprintf(value, sizeof value, "%.2f", length + startTime_);
        return std::string(lengthKey) + value + std::string(lineEnd(line));
    }
    if (startsWith(text, lengthKey)) return checkLength(line);
    constexpr std::string_view codecKey = "ID_AUDIO_CODEC=";
    if (startsWith(text, codecKey)) {
        std::string_view codec = text.substr(codecKey.size());
        if (codec == "mpg123" || codec == "ffmp3" || codec == "ffmp3float")
            return std::string(codecKey) + "mp3" + std::string(lineEnd(line));
    }
    return line;
}

} // namespace qorvid::tools
