// The main window driven through its real widgets: menus and captions, the busy guard,
// choosing a source, the target menu, settings and closing.
#include "tests/gui/gui_fixture.h"

#include "app/ui/frm_player.h"
#include "controls/style_button.h"
#include "media/format_catalog.h"
#include "util/text.h"
#include "util/ui/qt_shell.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <sys/wait.h>

namespace qorvid::test {
namespace {

std::string text(const QAction* a) { return a ? a->text().toStdString() : "<missing>"; }

using MainWindow = MainWindowTest;

// Every entry exists in each language; captions put together from pieces are checked whole,
// single messages are the table's own and not restated here.
TEST_F(MainWindow, EveryMenuEntryExistsInEachLanguageAndASwitchRewritesTheJob)
{
    open();
    for (const auto& [code, item] : {std::pair{"tw", "mnuLngTW"}, std::pair{"gb", "mnuLngGB"}, std::pair{"en", "mnuLngEN"}}) {
        SCOPED_TRACE(code);
        win->menuItem(item)->trigger();
        for (const FormatEntry& e : formatCatalog()) EXPECT_FALSE(text(win->catalogItem(e)).empty()) << e.key;
        EXPECT_EQ(win->menuItem("mnuSrcIsFileToMpg", 2), nullptr);
        for (const char* other : {"mnuLngTW", "mnuLngGB", "mnuLngEN"})
            EXPECT_EQ(win->menuItem(other)->isChecked(), other == std::string(item)) << other;
        EXPECT_EQ(text(win->menuItem("mnuTargetDefDir", 1)), msg(Msg::AlwaysIn) + homeFolder());
        EXPECT_EQ(win->cmdEncode[1]->Caption().toStdString(), msg(Msg::Stop) + msg(Msg::Convert));
    }
    EXPECT_EQ(text(win->menuItem("mnuSrcIsFileToMpg", 0)), "Convert a video to DAT [VCD]");
    EXPECT_EQ(text(win->menuItem("mnuSrcIsFileToChangeVol", 0)), fillPlaceholders(msg(Msg::ChangeVolumeMany), {"MPG, DAT, VOB"}));

    // A language switch rewrites the job as a fresh choice would show it.
    const std::string clip = makeClip("lang.avi", 320, 240, 25, 2);
    const struct {
        const char* menu;
        int index;
    } entries[] = {{"mnuSrcIsFileToMpg", 0},   {"mnuSrcIsFileToAvi", 4}, {"mnuSrcIsFileToSound", 1},
                   {"mnuSrcIsFileToCut", 2},   {"mnuSrcIsFileToChangeVol", 2}};
    auto shown = [&] {
        return std::vector<std::string>{win->lblEncodeNote->text().toStdString(), std::string(kindKey(ctx().job.targetKind)),
                                        ctx().job.jobTitle, win->cmdEncode[0]->Caption().toStdString(),
                                        win->cmdEncode[1]->Caption().toStdString(), win->cmdOpt->toolTip().toStdString()};
    };
    for (const auto& e : entries) {
        SCOPED_TRACE(std::string(e.menu) + " " + std::to_string(e.index));
        win->applyLanguage("tw");
        chooseSource(e.menu, e.index, clip);
        const auto inTw = shown();
        win->applyLanguage("gb");
        const auto switched = shown();
        chooseSource(e.menu, e.index, clip);
        EXPECT_NE(inTw, shown()); // the two tables differ here
        EXPECT_EQ(switched, shown());
    }
}

// The busy guard refuses the source and target buttons; a chosen source fills the labels and
// the target; a target chosen again keeps the extension of the kind.
TEST_F(MainWindow, BusyGuardScriptedSourceAndTargetChosenAgain)
{
    open();
    QMenu* source = win->menu("mnuSrcType");
    win->cmdInput->setProperty("Tag", QString("inUse"));
    QTest::mouseClick(win->cmdInput, Qt::LeftButton);
    EXPECT_FALSE(source->isVisible());
    win->cmdInput->setProperty("Tag", QString());
    win->setRunningState(true); // what a running job shows
    QTest::mouseClick(win->cmdInput, Qt::LeftButton);
    QTest::mouseClick(win->cmdOutput, Qt::LeftButton);
    win->menuItem("mnuSrcIsFileToMpg", 0)->trigger();
    EXPECT_FALSE(source->isVisible());
    EXPECT_FALSE(win->menu("mnuTarget")->isVisible());
    EXPECT_TRUE(dialogs.empty());
    win->setRunningState(false);
    QTest::mouseClick(win->cmdInput, Qt::LeftButton);
    EXPECT_TRUE(source->isVisible());
    source->hide();

    const std::string clip = makeClip("clip.avi", 320, 240, 25, 3);
    chooseSource("mnuSrcIsFileToMpg", 0, clip); // VCD

    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].kind, DialogRequest::Kind::Open);
    EXPECT_EQ(dialogs[0].filterIndex, 1);
    EXPECT_TRUE(dialogs[0].filters.value(0).startsWith("Supported Files (*.gif *.avi"));
    EXPECT_EQ(win->lblVideoSize->text().toStdString(), msg(Msg::SourcePictureSize) + "320 x 240");
    EXPECT_EQ(win->lblVideoLen->text().toStdString(), msg(Msg::SourceLength) + "00:00:03" + msg(Msg::FrameRateSuffix) + "25");
    EXPECT_TRUE(win->lblVideoSize->isVisible());
    EXPECT_FALSE(win->lblInputCheck->isVisible());
    EXPECT_EQ(win->lblInput->toolTip().toStdString(), clip);
    EXPECT_EQ(win->lblOutput->toolTip().toStdString(), media.file("clip.dat"));
    EXPECT_EQ(ctx().labels.output, media.file("clip.dat"));
    EXPECT_EQ(ctx().job.targetKind, TargetKind::Vcd);
    EXPECT_NE(win->lblEncodeNote->text().toStdString().find("VCD"), std::string::npos);
    EXPECT_TRUE(win->cmdInput->property("Tag").toString().isEmpty()); // the busy mark is gone
    EXPECT_TRUE(boxTexts.empty());

    // A cancelled dialog changes nothing; an empty file is refused with message 010.
    choices.push_back({});
    win->menuItem("mnuSrcIsFileToAvi", 2)->trigger();
    EXPECT_EQ(ctx().job.targetKind, TargetKind::Vcd);
    writeFile(media.file("empty.avi"), "");
    chooseSource("mnuSrcIsFileToAvi", 2, media.file("empty.avi"));
    EXPECT_EQ(boxTexts, std::vector<std::string>{msg(Msg::InvalidFileName) + "\n\n" + media.file("empty.avi")});
    EXPECT_EQ(ctx().labels.input, clip);

    // A file the probe finds nothing in shows Unknown.
    writeFile(media.file("noise.avi"), std::string(4096, 'x'));
    chooseSource("mnuSrcIsFileToAvi", 1, media.file("noise.avi"));
    EXPECT_EQ(win->lblVideoSize->text().toStdString(), msg(Msg::SourcePictureSize) + msg(Msg::Unknown));
    EXPECT_EQ(win->lblVideoLen->text().toStdString(), msg(Msg::SourceLength) + msg(Msg::Unknown) + msg(Msg::FrameRateSuffix) + msg(Msg::Unknown));

    chooseSource("mnuSrcIsFileToWmv", 0, clip);
    const size_t first = dialogs.size();
    const std::pair<std::string, std::string> cases[] = {{"other name.wmv", "other name.wmv"}, {"plain", "plain.wmv"},
                                                         {"other.avi", "other.avi.wmv"}, {"dotted.", "dotted.wmv"},
                                                         {"UPPER.WMV", "UPPER.WMV"}};
    for (const auto& [chosen, target] : cases) {
        choices.push_back(QString::fromStdString(media.file(chosen)));
        win->menuItem("mnuTargetFile")->trigger();
        EXPECT_EQ(ctx().labels.output, media.file(target)) << chosen;
        EXPECT_EQ(win->lblOutput->toolTip().toStdString(), media.file(target)) << chosen;
    }
    // The save dialog offers the target's name in the source's folder, with the kind's filter.
    ASSERT_EQ(dialogs.size(), first + 5);
    EXPECT_EQ(dialogs[first].kind, DialogRequest::Kind::Save);
    EXPECT_EQ(dialogs[first].fileName.toStdString(), "clip.wmv");
    EXPECT_EQ(dialogs[first].initialFolder.toStdString(), media.path());
    EXPECT_EQ(dialogs[first].filters.value(0).toStdString(), "WMV Files (*.wmv)");
}

TEST_F(MainWindow, DroppedFileIsPlayedNotAddedAndPlayTargetNeedsTheTargetFile)
{
    open();
    const std::string clip = makeClip("a.avi", 160, 120, 25, 1);
    win->dropOnSource({}, QString::fromStdString(media.file("missing.avi")));
    win->dropOnSource({QString::fromStdString(clip)}, {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return win->hasPlayerWindow() && win->playerWindow().isVisible(); }));
    EXPECT_EQ(win->playerWindow().engine()->FileName(), clip);
    EXPECT_TRUE(ctx().labels.input.empty());
    EXPECT_TRUE(dialogs.empty());

    chooseSource("mnuSrcIsFileToAvi", 2, clip);
    for (bool made : {false, true}) {
        if (made) writeFile(ctx().labels.output, "made");
        QTest::mouseClick(win->cmdOutput, Qt::LeftButton);
        EXPECT_EQ(win->menuItem("mnuToPlay2")->isEnabled(), made);
        win->menu("mnuTarget")->hide();
    }
    win->menuItem("mnuToPlay2")->trigger();
    ASSERT_TRUE(win->hasPlayerWindow());
    EXPECT_TRUE(win->playerWindow().isVisible());
    EXPECT_EQ(win->playerWindow().engine()->FileName(), ctx().labels.output);
    EXPECT_TRUE(shell.opened.empty()) << "the player window plays it, not the desktop";
}

TEST_F(MainWindow, HelpOpensThePageOfTheLanguageAndSaysWhenNoProgramOpensIt)
{
    open();
    win->menuItem("mnuHelp")->trigger();
    EXPECT_EQ(boxTexts, std::vector<std::string>{toUnixLines(msg(Msg::HelpFileMissing))});
    std::filesystem::create_directory(app.path() + "help");
    const std::string help = app.path() + "help/help_tw.html";
    writeFile(help, "<html></html>");
    win->menuItem("mnuHelp")->trigger();
    EXPECT_EQ(shell.opened, std::vector<std::string>{help});

    boxTexts.clear();
    ctx().shell = &qtShell();
    // A desktop without any program to open files: no display, no browser, no mailcap entries.
    ScopedEnv desktop;
    writeFile(app.file("mailcap"), "");
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION",
                             "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"})
        desktop.set(name, nullptr);
    desktop.set("BROWSER", "false");
    desktop.set("MAILCAPS", app.file("mailcap").c_str());
    win->menuItem("mnuHelp")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return boxTexts.size() >= 1; }, 20000));
    EXPECT_NE(boxTexts[0].find(help), std::string::npos) << boxTexts[0];
    EXPECT_EQ(boxTexts[0].rfind("Qorvid\n", 0), 0u) << boxTexts[0];
    siginfo_t ended{};
    waitid(P_ALL, 0, &ended, WEXITED | WNOHANG | WNOWAIT); // looks without reaping
    EXPECT_EQ(ended.si_pid, 0) << "a child ended and was never waited for";
}

TEST_F(MainWindow, FolderBrowserChoosesOrKeepsTheDefaultTargetFolder)
{
    open();
    const std::string before = win->targetDefDir();
    choices.push_back({}); // cancelled
    win->menuItem("mnuTargetDefDir", 1)->trigger();
    EXPECT_EQ(win->targetFolderSetting().mode, 0);
    EXPECT_EQ(win->targetDefDir(), before);
    EXPECT_TRUE(win->menuItem("mnuTargetDefDir", 0)->isChecked());
    EXPECT_FALSE(win->menuItem("mnuTargetDefDir", 1)->isChecked());
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].kind, DialogRequest::Kind::Folder);

    choices.push_back(QString::fromStdString(media.path().substr(0, media.path().size() - 1)));
    win->menuItem("mnuTargetDefDir", 1)->trigger();
    EXPECT_EQ(win->targetFolderSetting().mode, 1);
    EXPECT_EQ(win->targetDefDir(), media.path());
    EXPECT_EQ(text(win->menuItem("mnuTargetDefDir", 1)), msg(Msg::AlwaysIn) + media.path());
    EXPECT_TRUE(win->menuItem("mnuTargetDefDir", 1)->isChecked());

    // Targets now go there; item 0 goes back to the source's folder.
    TempDir elsewhere;
    const std::string clip = elsewhere.file("c.avi");
    std::filesystem::copy_file(makeClip("c.avi", 160, 120, 25, 1), clip);
    chooseSource("mnuSrcIsFileToAvi", 2, clip);
    EXPECT_EQ(ctx().labels.output, media.file("c.avi"));
    win->menuItem("mnuTargetDefDir", 0)->trigger();
    EXPECT_EQ(win->targetFolderSetting().mode, 0);
}

TEST_F(MainWindow, SettingsAreWrittenAtFirstStartReadAtLoadAndWrittenOnlyWhenLeaving)
{
    open("");
    EXPECT_NE(readFile(settingsFile()).find("TargetDefDirMode=0"), std::string::npos);
    win.reset();
    open("language=gb\r\nTargetDefDirMode=1\r\nTargetDefDir=" + media.path() + "\r\nMainLeft=5\r\nMainTop=7\r\n");
    EXPECT_EQ(win->language(), "gb");
    EXPECT_TRUE(win->menuItem("mnuLngGB")->isChecked());
    EXPECT_EQ(win->targetFolderSetting().mode, 1);
    EXPECT_EQ(win->targetDefDir(), media.path());

    std::filesystem::remove(settingsFile());
    answer = [](const BoxRequest&) { return Answer::No; };
    EXPECT_FALSE(win->close());
    EXPECT_EQ(boxTexts, std::vector<std::string>{toUnixLines(msg(Msg::ConfirmQuit))});
    EXPECT_FALSE(fileExists(settingsFile()));
    EXPECT_TRUE(win->isVisible());

    win->applyLanguage("en");
    answer = [](const BoxRequest&) { return Answer::Yes; };
    EXPECT_TRUE(win->close());
    const std::string saved = readFile(settingsFile());
    for (const std::string& line : {std::string("Language=en"), std::string("TargetDefDirMode=1"), "TargetDefDir=" + media.path()})
        EXPECT_NE(saved.find(line), std::string::npos) << saved;
}

TEST_F(MainWindow, DeveloperControlsOnlyWithTheMarker)
{
    for (bool developer : {false, true}) {
        win.reset();
        open("Language=tw\r\n", developer);
        for (QWidget* w : {static_cast<QWidget*>(win->cmdDelSrc), static_cast<QWidget*>(win->chkCheckAsfMci),
                           static_cast<QWidget*>(win->chkCheckCmd), static_cast<QWidget*>(win->cboCmdEditSpec)})
            EXPECT_EQ(w->isVisible(), developer) << w->objectName().toStdString();
        win->cboCmdEditSpec->setCurrentIndex(2);
        EXPECT_EQ(win->cmdEditSpecIndex(), developer ? 2 : 0);
    }

    // The right-button question switches the console output on.
    QTest::mouseClick(win->centralWidget(), Qt::RightButton);
    EXPECT_TRUE(ctx().runner.showDosWindow);
    EXPECT_EQ(lastBox(), "是否開啟 Dos 輸出視窗？");
}

} // namespace
} // namespace qorvid::test
