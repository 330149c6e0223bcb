#pragma once
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace qorvid {

// Tab pages of the options window, as the checks name them.
enum OptionsPage : int {
    kPageFrameRate = 0,
    kPageVideo = 1, // video bit rate, size, crop and borders
    kPageAudio = 2,
    kPageColor = 3,
    kPageSubtitle = 4,
};
inline constexpr int kOptionsPageCount = 5;

// Every control value of the options window. The window shows and edits exactly this
// record; the checks and the argument fragments read only this record and the job.
// Member names follow the window's controls: txtSize[0] is txtSize (0), and so on.
struct ConversionOptions {
    std::string formatCaption; // lblFormatStr, after message 064

    // Frame rate and bit rates: the texts as shown, with the list they were chosen from.
    std::vector<std::string> cboFpsList;
    int cboFpsIndex = -1; // -1: a typed text, not a list item
    std::string cboFps;
    std::vector<std::string> cboVideoBitrateList;
    std::string cboVideoBitrate;
    std::string cboAudioBitrate;
    // "Same as the source" is told by these, never by the shown text, which follows the
    // language: the frame rate by item 0 of a list that starts with it (the short list
    // does not), the bit rates, which have no such item, by a flag set where it is given.
    bool cboFpsListFromSource = true;
    bool videoBitrateFromSource = false;
    bool audioBitrateFromSource = false;

    // Picture size.
    int cboSizeIndex = 0;
    std::string cboSize;
    std::array<std::string, 2> txtSize{"0", "0"}; // width, height

    // Crop: optScaleCrop 0 scales first, 1 crops first. The rectangle is in units of the
    // preview picture, whose inner size is previewWidth × previewHeight.
    int optScaleCrop = 0;
    bool hasCrop = false;
    std::array<int, 4> crop{}; // left, top, right, bottom
    int previewWidth = 0;
    int previewHeight = 0;

    std::array<std::string, 4> txtExpand{"0", "0", "0", "0"}; // borders: top, bottom, left, right
    int cboRotate = 0;                                          // 0..7

    // Sound.
    int optAudio = 0; // 0 sound on, 1 " -nosound"
    std::string cboAudioSample = "44100";
    std::string txtAudioDelay = "0";
    bool chkAudioVolnorm = false;

    // Adjusters, -100..100, reset value 0.
    int volume = 0; // dB
    int brightness = 0;
    int contrast = 0;
    int hue = 0;
    int saturation = 0;

    // Subtitles.
    int optSub = 0; // 0 none, 1 burn txtSubFile in
    std::string txtSubFile;
    std::string subFontFile; // full path of the chosen font, "" for none
    std::string cboSubcp;    // the code-page item text
    std::string txtSubSize = "4";
    std::string txtSubPosHgt = "5";
    std::string txtSubOutline = "2";
    std::string txtSubBlur = "2";
    std::string txtSubDelay = "0";

    // Cut range: txtScope texts and the marks in seconds (an empty mark: no value).
    std::array<std::string, 2> txtScope{"00:00:00.0", "00:00:00.0"};
    std::array<std::optional<float>, 2> lblMark{};

    // Pages covered by their mask picture: their controls cannot be used.
    std::array<bool, kOptionsPageCount> pageMasked{};
};

// Which controls of the options window can be used (a caption follows its control).
struct OptionEnables {
    bool fps = true;
    bool videoBitrate = true;
    bool audioBitrate = true;
    bool audioSample = true;
    bool soundOnOff = true; // optAudio
    bool audioDelay = true;
    bool volnorm = true;
    bool volume = true;
    bool size = true; // cboSize
    bool widthBox = false;
    bool heightBox = false;
    bool cropOrder = true;
    bool borders = true;
    bool rotate = true;
    bool color = true;
    bool subtitleControls = false; // file, font, code page and numbers: only with optSub (1)
};

} // namespace qorvid
