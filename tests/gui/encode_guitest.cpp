// The encode button pair running real conversions through the plugins.
#include "tests/gui/gui_fixture.h"

#include "app/lang_text.h"
#include "app/ui/frm_output.h"
#include "app/ui/progress_picture.h"
#include "controls/style_button.h"
#include "util/text.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>

namespace qorvid::test {
namespace {

using Encode = MainWindowTest;

// Runs the job while `step` is called every 20 ms with the window live; step returns true
// when it is done.
void runWhile(frmMain& win, std::function<bool()> step)
{
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (step()) watch.stop();
    });
    watch.start();
    QTest::mouseClick(win.cmdEncode[0], Qt::LeftButton);
}

// The kind is chosen in one language and the job runs after a switch to another.
TEST_F(Encode, ShortConversionAfterALanguageSwitchDrivesTheBarTo100AndBackAndLeavingKeepsTheTarget)
{
    open();
    // Long enough for reports between the start and the end: the encoder reports twice a second.
    const std::string clip = makeClip("short.avi", 1280, 720, 25, 19);
    std::vector<float> drawn;
    QObject::connect(win->picProgress, &ProgressPicture::drawn, [&](float p, const QString&, bool) { drawn.push_back(p); });
    const struct {
        const char* menu;
        int index;
        const char* stream;
        bool midway; // the sound alone may end between two progress lines
    } targets[] = {{"mnuSrcIsFileToAvi", 2, "v:0", true}, {"mnuSrcIsFileToSound", 1, "a:0", false}}; // DivX, MP3
    std::string captionAtSuccess;
    QString estimateAtSuccess;
    answer = [&](const BoxRequest& r) {
        if (r.text.find(toUnixLines(msg(Msg::PressOkToPlay))) == std::string::npos) return Answer::Ok;
        captionAtSuccess = win->picProgress->caption().toStdString();
        estimateAtSuccess = win->picEncodeEsti->text();
        return Answer::Cancel; // do not play
    };
    for (const auto& t : targets) {
        SCOPED_TRACE(t.menu);
        win->applyLanguage("tw");
        chooseSource(t.menu, t.index, clip);
        const std::string target = ctx().labels.output;
        win->applyLanguage("gb");
        boxTexts.clear();
        drawn.clear();
        captionAtSuccess.clear(), estimateAtSuccess.clear();
        QTest::mouseClick(win->cmdEncode[0], Qt::LeftButton);

        ASSERT_EQ(boxTexts.size(), 2u) << lastBox();
        EXPECT_NE(boxTexts[0].find(toUnixLines(msg(Msg::GettingReady))), std::string::npos); // the confirmation
        EXPECT_NE(boxTexts[1].find(toUnixLines(msg(Msg::Succeeded))), std::string::npos) << boxTexts[1];
        EXPECT_NE(boxTexts[1].find(target), std::string::npos);
        EXPECT_EQ(captionAtSuccess, fillPlaceholders(msg(Msg::ProgressPercent), {"100"}));
        EXPECT_EQ(win->picProgress->caption().toStdString(), fillPlaceholders(msg(Msg::ProgressPercent), {"0"}));
        EXPECT_TRUE(win->picProgress->idleStyle());
        ASSERT_GE(drawn.size(), 3u);
        EXPECT_TRUE(!t.midway || std::any_of(drawn.begin(), drawn.end(), [](float p) { return p > 0 && p < 100; }));
        EXPECT_NE(ffprobeValue(target, t.stream, "codec_name"), "");
        EXPECT_TRUE(win->cmdEncode[0]->isVisible());
        EXPECT_FALSE(win->cmdEncode[1]->isVisible());
        // The run's time is shown until its end, and the idle window shows none.
        EXPECT_TRUE(estimateAtSuccess.startsWith(msgHead(Msg::ElapsedRemaining))) << estimateAtSuccess.toStdString();
        EXPECT_TRUE(win->picEncodeEsti->text().isEmpty()) << win->picEncodeEsti->text().toStdString();
    }

    // Leaving as soon as a run is on: the question is still open when the run ends, which
    // keeps and reports the target.
    chooseSource("mnuSrcIsFileToAvi", 2, clip);
    const std::string target = ctx().labels.output;
    std::filesystem::remove(target);
    runWhile(*win, [&] {
        if (win->cmdEncode[1]->isHidden()) return false;
        win->close();
        return true;
    });
    ASSERT_EQ(openQuestions.size(), 1u);
    EXPECT_NE(lastBox().find(target), std::string::npos) << lastBox(); // the success box
    openQuestions[0].done(Answer::Yes);
    EXPECT_FALSE(win->isVisible());
    EXPECT_NE(ffprobeValue(target, "v:0", "codec_name"), "");
}

// The notes are rewritten at once by a switch during the run; the job stopped then ends
// with its message. Closing during the next run names the job and keeps driving it until
// the answer, which leaves neither target nor tool.
TEST_F(Encode, LanguageSwitchStopAndCloseDuringALongRun)
{
    open();
    const std::string clip = makeClip("long.avi", 640, 360, 25, 60);
    chooseSource("mnuSrcIsFileToAvi", 3, clip); // H.264
    const std::string target = ctx().labels.output;
    QString estimate, caption;
    // Once the encoder reports progress, stop is pressed.
    runWhile(*win, [&] {
        if (win->picProgress->percent() <= 0 || win->picEncodeEsti->text().isEmpty() || !win->cmdEncode[1]->isVisible())
            return false;
        win->applyLanguage("gb");
        estimate = win->picEncodeEsti->text();
        caption = win->picProgress->caption();
        QTest::mouseClick(win->cmdEncode[1], Qt::LeftButton);
        return true;
    });

    EXPECT_TRUE(estimate.startsWith(msgHead(Msg::ElapsedRemaining))) << estimate.toStdString(); // in the language switched to
    EXPECT_TRUE(caption.startsWith(msgHead(Msg::ProgressPercent))) << caption.toStdString();
    EXPECT_TRUE(win->picEncodeEsti->text().isEmpty());
    EXPECT_EQ(lastBox(), toUnixLines(ctx().job.jobTitle + msg(Msg::Interrupted)));
    EXPECT_TRUE(win->cmdEncode[0]->isVisible());
    EXPECT_EQ(win->picProgress->caption().toStdString(), fillPlaceholders(msg(Msg::ProgressPercent), {"0"}));

    std::filesystem::remove(settingsFile());
    float percentAsked = -1;
    bool closedAtOnce = true;
    runWhile(*win, [&] {
        const float p = win->picProgress->percent();
        if (percentAsked < 0) {
            if (p <= 0) return false;
            closedAtOnce = win->close();
            percentAsked = p;
            return false;
        }
        // The bar goes on while the question is open; then the answer is Yes.
        if (p <= percentAsked || openQuestions.empty()) return false;
        openQuestions.back().done(Answer::Yes);
        return true;
    });
    EXPECT_FALSE(closedAtOnce);
    ASSERT_EQ(openQuestions.size(), 1u);
    EXPECT_NE(openQuestions[0].request.text.find(ctx().job.jobTitle), std::string::npos) << openQuestions[0].request.text;
    EXPECT_NE(openQuestions[0].request.text.find(toUnixLines(msg(Msg::ConfirmQuit))), std::string::npos);
    EXPECT_EQ(lastBox(), toUnixLines(ctx().job.jobTitle + msg(Msg::Interrupted)));
    EXPECT_FALSE(fileExists(target));
    EXPECT_TRUE(processesMatching(app.path() + "plugins/ZevraRes").empty());
    EXPECT_TRUE(processesMatching(clip).empty());
    EXPECT_FALSE(win->isVisible());
    EXPECT_TRUE(fileExists(settingsFile()));
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
}

} // namespace
} // namespace qorvid::test
