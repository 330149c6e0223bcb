// Options set in the window give the command line that the same options give to
// `qorvid-cli convert --dry-run`.
#include "tests/gui/options_fixture.h"

#include "media/format_catalog.h"

#include <QRadioButton>

namespace qorvid::test {
namespace {

using OptionsCliTest = OptionsWindowTest;

void borders(OptionsWindowTest& t, std::array<const char*, 4> values)
{
    for (int i = 0; i < 4; ++i) t.child<QLineEdit>(("txtExpand_" + std::to_string(i)).c_str())->setText(values[static_cast<size_t>(i)]);
}

void customSize(OptionsWindowTest& t, const char* w, const char* h)
{
    t.pick("cboSize", 1);
    t.child<QLineEdit>("txtSize_0")->setText(w);
    t.child<QLineEdit>("txtSize_1")->setText(h);
}

void clicks(OptionsWindowTest& t, const char* button, int n)
{
    for (int i = 0; i < n; ++i) t.click(button);
}

TEST_F(OptionsCliTest, WindowAndCommandLineGiveTheSameCommand)
{
    open();
    struct Case {
        const char* name;
        const char* menu;
        int index;
        const char* key;
        bool crop; // a crop rectangle drawn on the preview, in source pixels
        std::function<void(OptionsWindowTest&)> set;
        std::vector<std::string> cli;
    } cases[] = {
        {"size, crop and borders, scale first", "mnuSrcIsFileToAvi", 3, "h264", true,
         [](OptionsWindowTest& t) {
             customSize(t, "240", "180");
             borders(t, {"8", "8", "0", "0"});
         },
         {"--size", "240x180", "--crop", "10,20,310,220", "--borders", "8,8,0,0"}},
        {"size, crop and borders, crop first", "mnuSrcIsFileToAvi", 2, "divx", true,
         [](OptionsWindowTest& t) {
             customSize(t, "240", "180");
             borders(t, {"0", "0", "6", "6"});
             t.child<QRadioButton>("optScaleCrop_1")->click();
         },
         {"--size", "240x180", "--crop", "10,20,310,220", "--borders", "0,0,6,6", "--crop-first"}},
        {"rotation with colour", "mnuSrcIsFileToAvi", 3, "h264", false,
         [](OptionsWindowTest& t) {
             t.pick("cboRotate", 5);
             clicks(t, "imgBrightness_1", 2);
             clicks(t, "imgHue_0", 3);
             clicks(t, "imgSaturation_1", 1);
         },
         {"--rotate", "5", "--brightness", "4", "--hue", "-6", "--saturation", "2"}},
        {"sound off", "mnuSrcIsFileToWmv", 2, "mp42-wmv", false,
         [](OptionsWindowTest& t) { t.child<QRadioButton>("optAudio_1")->click(); }, {"--no-audio"}},
        {"audio delay, volume and sample rate", "mnuSrcIsFileToAvi", 2, "divx", false,
         [](OptionsWindowTest& t) {
             t.child<QLineEdit>("txtAudioDelay")->setText("0.5");
             clicks(t, "imgVolume_1", 3);
             t.pick("cboAudioSample", 6);
         },
         {"--audio-delay", "0.5", "--volume", "6", "--sample-rate", "48000"}},
        {"marked range", "mnuSrcIsFileToAvi", 3, "h264", false,
         [](OptionsWindowTest& t) {
             t.typeInto("txtScope_0", "00:00:00.5");
             t.typeInto("txtScope_1", "00:00:02.0");
         },
         {"--mark", "00:00:00.5", "00:00:02.0"}},
        {"VCD with borders", "mnuSrcIsFileToMpg", 0, "vcd", false,
         [](OptionsWindowTest& t) { borders(t, {"0", "0", "16", "16"}); }, {"--borders", "0,0,16,16"}},
        {"DVD with borders", "mnuSrcIsFileToMpg", 1, "dvd", false,
         [](OptionsWindowTest& t) { borders(t, {"24", "24", "0", "0"}); }, {"--borders", "24,24,0,0"}},
        {"volume change", "mnuSrcIsFileToChangeVol", 2, "volume-avi", false,
         [](OptionsWindowTest& t) { clicks(t, "imgVolume_1", 4); }, {"--volume", "8"}},
        {"cut", "mnuSrcIsFileToCut", 2, "cut-avi", false,
         [](OptionsWindowTest& t) {
             t.typeInto("txtScope_0", "00:00:01.0");
             t.typeInto("txtScope_1", "00:00:02.5");
         },
         {"--mark", "00:00:01.0", "00:00:02.5"}},
    };
    const std::string source = clip();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        chooseSource(c.menu, c.index, source);
        if (c.crop) {
            ConversionOptions& o = ctx().options;
            o.hasCrop = true;
            o.crop = {10, 20, 310, 220};
            o.previewWidth = ctx().job.srcWidth;
            o.previewHeight = ctx().job.srcHeight;
            opts().loadFromJob();
        }
        openOptions();
        c.set(*this);
        boxTexts.clear();
        click("cmdOkCancel_0");
        ASSERT_FALSE(opts().isVisible()) << (boxTexts.empty() ? "" : boxTexts.back());
        const std::string window = windowCommand();
        EXPECT_EQ(window, cliCommand(c.key, c.cli));
        EXPECT_FALSE(window.empty());
    }
}

} // namespace
} // namespace qorvid::test
