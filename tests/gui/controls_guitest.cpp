// StyleButton, the dialogs' results and the splash, on their own.
#include "app/ui/frm_splash.h"
#include "controls/style_button.h"
#include "support/test_tools.h"
#include "util/ui/comm_dialog.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace qorvid::test {
namespace {

QPixmap solid(QColor c)
{
    QPixmap p(8, 8);
    p.fill(c);
    return p;
}

// Files stored before the colour scheme key existed read scheme 1; a new button has 2.
TEST(StyleButtonTest, OldPropertiesReadTheirSchemeAndRoundTrip)
{
    StyleButton b;
    EXPECT_EQ(b.ColorScheme(), 2); // a new instance
    b.readProperties({{"TX", "Go"}, {"BTYPE", 9}});
    EXPECT_EQ(b.Caption(), "Go");
    EXPECT_EQ(b.ButtonType(), 9);
    EXPECT_EQ(b.ColorScheme(), 1); // stored before the key existed
    EXPECT_FALSE(b.propertiesChanged());

    b.setCaption("Stop");
    EXPECT_TRUE(b.propertiesChanged());
    StyleButton copy;
    copy.readProperties(b.writeProperties());
    EXPECT_EQ(copy.Caption(), "Stop");
    EXPECT_EQ(copy.ButtonType(), 9);
    EXPECT_FALSE(b.propertiesChanged());
}

TEST(StyleButtonTest, SwitchModeKeepsTheDownLookAndDisabledDrawsItsPictureWithoutClick)
{
    StyleButton b;
    b.resize(80, 30);
    b.show();
    b.setPicture(solid(Qt::red));
    QSignalSpy clicks(&b, &StyleButton::Click);
    b.setButtonSwitchMode(true);
    QTest::mouseClick(&b, Qt::LeftButton);
    EXPECT_EQ(b.ButtonState(), 2);
    EXPECT_EQ(b.look(), StyleButton::Look::Down);
    QTest::mouseClick(&b, Qt::LeftButton);
    EXPECT_EQ(b.ButtonState(), 0);
    EXPECT_EQ(b.look(), StyleButton::Look::Normal);
    EXPECT_EQ(clicks.count(), 2);

    b.setButtonSwitchMode(false);
    b.setEnabled(false);
    QTest::mouseClick(&b, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(b.look(), StyleButton::Look::Disabled);
    EXPECT_EQ(b.currentPicture().toImage().pixelColor(0, 0), QColor(Qt::red)); // no disabled picture: normal
    b.setPictureDisableGreyUse(true);
    const QColor grey = b.currentPicture().toImage().pixelColor(0, 0);
    EXPECT_EQ(grey.red(), grey.green());
    b.setPictureDisabled(solid(Qt::blue));
    EXPECT_EQ(b.currentPicture().toImage().pixelColor(0, 0), QColor(Qt::blue));
    b.setPictureDisabledSame(true);
    EXPECT_EQ(b.currentPicture().toImage().pixelColor(0, 0), QColor(Qt::red));
}

TEST(StyleButtonTest, HoverEndsOnceWhenThePointerLeaves)
{
    StyleButton b;
    b.resize(80, 30);
    b.show();
    QSignalSpy enter(&b, &StyleButton::MouseEnter), leave(&b, &StyleButton::MouseLeave);
    QTest::mouseMove(&b, {10, 10});
    EXPECT_EQ(enter.count(), 0); // SkipOverAndEnter: no hover look
    b.setSkipOverAndEnter(false);
    QCursor::setPos(b.mapToGlobal(QPoint(10, 10)));
    QTest::mouseMove(&b, {10, 10});
    QTest::mouseMove(&b, {12, 10});
    EXPECT_EQ(enter.count(), 1);
    EXPECT_TRUE(b.hovered());
    QCursor::setPos(b.mapToGlobal(QPoint(500, 500)));
    ASSERT_TRUE(leave.wait(1000));
    EXPECT_FALSE(b.hovered());
    EXPECT_EQ(b.look(), StyleButton::Look::Normal);
    EXPECT_FALSE(leave.wait(3 * StyleButton::kOverTimerMs)); // once only
    EXPECT_EQ(leave.count(), 1);
}

TEST(CommDialogTest, FilterAndResults)
{
    CommDialog d;
    d.setFilter("AVI Files (*.avi)|*.avi|Audio|*.mp3;*.wav|");
    CommDialog same;
    same.setFilter("AVI Files (*.avi)|*.avi|Audio|*.mp3;*.wav");
    EXPECT_EQ(d.qtFilters(), same.qtFilters());
    EXPECT_EQ(d.qtFilters(), QStringList({"AVI Files (*.avi)", "Audio (*.mp3 *.wav)"}));

    DialogRequest seen;
    d.chooser = [&](const DialogRequest& r) {
        seen = r;
        return DialogResult{{"/m/a.b/Clip.MP3", "/m/a.b/c"}, 2};
    };
    d.setFilterIndex(0);
    EXPECT_EQ(d.ShowOpen(true), "/m/a.b/Clip.MP3");
    EXPECT_EQ(seen.filterIndex, 1); // 0 reads as 1
    EXPECT_TRUE(seen.multiSelect);
    EXPECT_EQ(d.FileTitle, "Clip.MP3");
    EXPECT_EQ(d.FileExt, "mp3");
    EXPECT_EQ(d.FileArray.size(), 2u);
    EXPECT_EQ(d.FilterIndex(), 2);

    d.chooser = [](const DialogRequest&) { return DialogResult{}; };
    EXPECT_EQ(d.ShowSave(), "");
    d.chooser = [](const DialogRequest&) { return DialogResult{{"/m/out"}, 0}; };
    d.InitDir = "/m/";
    EXPECT_EQ(d.ShowDir(true), "/m/out/");
    EXPECT_EQ(d.InitDir, "");
}

TEST(SplashTest, FadesTheMainWindowInAndCloses)
{
    QWidget main;
    frmSplash splash(false, &main);
    EXPECT_TRUE(frmSplash::chineseFor("MainLeft=1\r\nLanguage=tw\r\n", "en"));
    EXPECT_FALSE(frmSplash::chineseFor("Language=gb\r\n", "tw"));
    EXPECT_TRUE(frmSplash::chineseFor("", "tw"));

    splash.show();
    for (int i = 0; i < 20; ++i) splash.tick();
    EXPECT_EQ(splash.opacity(), 0); // not ready yet
    splash.mainWindowReady();
    int last = -1;
    while (splash.ticks() < frmSplash::kFullTick) {
        splash.tick();
        EXPECT_GE(splash.opacity(), last);
        last = splash.opacity();
    }
    EXPECT_GE(splash.opacity(), 250);
    EXPECT_TRUE(splash.isVisible());
    while (splash.ticks() <= frmSplash::kCloseAfter) splash.tick();
    EXPECT_FALSE(splash.isVisible());
    EXPECT_EQ(splash.opacity(), 255);
}

} // namespace
} // namespace qorvid::test
