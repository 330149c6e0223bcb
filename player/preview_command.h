#pragma once
#include <optional>
#include <string>

namespace qorvid {

struct JobState;

// What the preview player is started with.
struct PreviewRequest {
    std::string toolPath;   // the player plugin
    std::string source;     // a file, or an image-sequence pattern holding "*"
    unsigned long long windowId = 0;
    std::optional<int> volume; // the preview volume, once one was chosen
    std::string subtitleArgs;  // the subtitle fragment in its preview form
    std::string pictureArgs;   // colour and rotation, so that the preview shows them
    float startSeconds = 0;
};

struct PreviewCommand {
    std::string commandLine;
    // An animated GIF: its status line is read differently.
    bool animatedGif = false;
};

PreviewCommand previewCommand(const PreviewRequest& request, const JobState& job);

} // namespace qorvid
