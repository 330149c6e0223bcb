// The encode button pair running real conversions through the plugins.
#include "tests/gui/gui_fixture.h"

#include "app/ui/frm_output.h"
#include "app/ui/progress_picture.h"
#include "controls/style_button.h"
#include "util/text.h"

#include <QCheckBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>

namespace qorvid::test {
namespace {

using Encode = MainWindowTest;

TEST_F(Encode, ShortConversionDrivesTheBarTo100AndBack)
{
    open();
    const std::string clip = makeClip("short.avi", 320, 240, 25, 4);
    chooseSource("mnuSrcIsFileToAvi", 2, clip); // DivX
    const std::string target = ctx().labels.output;

    std::vector<float> drawn;
    QObject::connect(win->picProgress, &ProgressPicture::drawn, [&](float p, const QString&, bool) { drawn.push_back(p); });
    std::string captionAtSuccess;
    bool stopFaceDuringRun = false;
    answer = [&](const BoxRequest& r) {
        if (r.text.find(toUnixLines(msg(65))) != std::string::npos) {
            captionAtSuccess = win->picProgress->caption().toStdString();
            return Answer::Cancel; // do not play
        }
        stopFaceDuringRun = stopFaceDuringRun || win->cmdEncode[1]->isVisible();
        return Answer::Ok;
    };
    QTest::mouseClick(win->cmdEncode[0], Qt::LeftButton);

    ASSERT_EQ(boxTexts.size(), 2u) << boxTexts.back();
    EXPECT_NE(boxTexts[0].find(toUnixLines(msg(50))), std::string::npos); // the confirmation
    EXPECT_NE(boxTexts[1].find(target), std::string::npos);                // the success box
    EXPECT_EQ(captionAtSuccess, fillPlaceholders(msg(16), {"100"}));
    EXPECT_EQ(win->picProgress->caption().toStdString(), fillPlaceholders(msg(16), {"0"}));
    EXPECT_TRUE(win->picProgress->idleStyle());
    ASSERT_GE(drawn.size(), 3u);
    EXPECT_TRUE(std::any_of(drawn.begin(), drawn.end(), [](float p) { return p > 0 && p < 100; }));
    EXPECT_TRUE(std::filesystem::file_size(target) > 0);
    EXPECT_TRUE(win->cmdEncode[0]->isVisible());
    EXPECT_FALSE(win->cmdEncode[1]->isVisible());
    EXPECT_TRUE(win->cmdInput->isEnabled());
    EXPECT_TRUE(shell.opened.empty());
}

TEST_F(Encode, StopDuringALongRunShowsMessage045AndLeavesNoChild)
{
    open();
    const std::string clip = makeClip("long.avi", 640, 360, 25, 60);
    chooseSource("mnuSrcIsFileToAvi", 3, clip); // H.264
    const std::string target = ctx().labels.output;

    // Once the encoder reports progress: the source button is refused, then stop is pressed.
    bool sourceMenuShown = false;
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (win->picProgress->percent() <= 0 || !win->cmdEncode[1]->isVisible()) return;
        watch.stop();
        QTest::mouseClick(win->cmdInput, Qt::LeftButton);
        sourceMenuShown = win->menu("mnuSrcType")->isVisible();
        QTest::mouseClick(win->cmdEncode[1], Qt::LeftButton);
    });
    watch.start();
    QTest::mouseClick(win->cmdEncode[0], Qt::LeftButton);

    EXPECT_FALSE(sourceMenuShown);
    ASSERT_FALSE(boxTexts.empty());
    EXPECT_EQ(boxTexts.back(), toUnixLines(ctx().job.jobTitle + msg(45)));
    EXPECT_FALSE(fileExists(target));
    EXPECT_TRUE(processesMatching(app.path() + "plugins/ZevraRes").empty());
    EXPECT_TRUE(processesMatching(clip).empty());
    EXPECT_TRUE(win->cmdEncode[0]->isVisible());
    EXPECT_EQ(win->picProgress->caption().toStdString(), fillPlaceholders(msg(16), {"0"}));
}

TEST_F(Encode, EmptiedCommandInTheReviewEndsTheJobSilently)
{
    open("Language=tw\r\n", true);
    const std::string clip = makeClip("review.avi", 160, 120, 25, 2);
    chooseSource("mnuSrcIsFileToMpg", 3, clip); // MPEG1
    win->chkCheckCmd->setChecked(true);

    std::string shownCommand;
    QTimer::singleShot(0, [&] {
        if (!QTest::qWaitFor([&] { return win->output->isVisible(); })) return;
        shownCommand = win->output->txtOutput->toPlainText().toStdString();
        win->output->txtOutput->clear();
        win->output->cmdOkCancel[0]->click();
    });
    QTest::mouseClick(win->cmdEncode[0], Qt::LeftButton);

    EXPECT_NE(shownCommand.find("ZevraRes2"), std::string::npos) << shownCommand;
    EXPECT_EQ(boxTexts.size(), 1u); // the confirmation only
    EXPECT_FALSE(fileExists(ctx().labels.output));
    EXPECT_TRUE(win->cmdEncode[0]->isVisible());
    EXPECT_FALSE(ctx().runner.showDosWindow);
}

} // namespace
} // namespace qorvid::test
