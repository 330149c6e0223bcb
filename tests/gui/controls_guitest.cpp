// The controls on their own: StyleButton, ZevraButton (the states the player window sets and
// the three press modes), the tab strip, the dialogs' results and the splash.
#include "app/ui/frm_splash.h"
#include "controls/style_button.h"
#include "controls/zevra_button.h"
#include "controls/zevra_tab.h"
#include "util/ui/comm_dialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

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

// The OverTimer's tick is fired by hand: it keeps the hover while the pointer is on the button
// and ends it once, stopping itself, when the pointer has left.
TEST(StyleButtonTest, HoverEndsOnceWhenThePointerLeaves)
{
    StyleButton b;
    b.resize(80, 30);
    b.show();
    auto* overTimer = b.findChild<QTimer*>("OverTimer");
    ASSERT_NE(overTimer, nullptr);
    QSignalSpy enter(&b, &StyleButton::MouseEnter), leave(&b, &StyleButton::MouseLeave);
    QTest::mouseMove(&b, {10, 10});
    EXPECT_EQ(enter.count(), 0); // SkipOverAndEnter: no hover look
    b.setSkipOverAndEnter(false);
    QCursor::setPos(b.mapToGlobal(QPoint(10, 10)));
    QTest::mouseMove(&b, {10, 10});
    QTest::mouseMove(&b, {12, 10});
    EXPECT_EQ(enter.count(), 1);
    EXPECT_TRUE(overTimer->isActive());
    QMetaObject::invokeMethod(overTimer, "timeout");
    EXPECT_TRUE(b.hovered());
    EXPECT_EQ(leave.count(), 0);
    QCursor::setPos(b.mapToGlobal(QPoint(500, 500)));
    QMetaObject::invokeMethod(overTimer, "timeout");
    EXPECT_EQ(leave.count(), 1);
    EXPECT_FALSE(b.hovered());
    EXPECT_EQ(b.look(), StyleButton::Look::Normal);
    EXPECT_FALSE(overTimer->isActive()) << "no later tick, so no second leave";
}

TEST(CommDialogTest, FilterAndResults)
{
    CommDialog d;
    for (const char* filter : {"AVI Files (*.avi)|*.avi|Audio|*.mp3;*.wav", "AVI Files (*.avi)|*.avi|Audio|*.mp3;*.wav|"}) {
        d.setFilter(filter);
        EXPECT_EQ(d.qtFilters(), QStringList({"AVI Files (*.avi)", "Audio (*.mp3 *.wav)"})) << filter;
    }

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

struct Button {
    ZevraButton b;
    QSignalSpy clicks{&b, &ZevraButton::Click};
    QSignalSpy presses{&b, &ZevraButton::Press};
    Button()
    {
        b.resize(30, 24);
        b.setPicture(solid(Qt::red));
        b.setDownPicture(solid(Qt::green));
        b.setDisabledPicture(solid(Qt::gray));
        b.show();
    }
    QColor shown() const { return b.currentPicture().toImage().pixelColor(4, 4); }
};

TEST(ZevraButtonTest, ModeZeroTogglesLikeACheckBoxOnePressesWithoutGoingDownTwoAtMouseDown)
{
    Button t;
    EXPECT_EQ(t.b.State(), ZevraButton::kUp);
    QTest::mouseClick(&t.b, Qt::LeftButton);
    EXPECT_EQ(t.clicks.count(), 1);
    EXPECT_EQ(t.b.State(), ZevraButton::kDown);
    EXPECT_EQ(t.shown(), QColor(Qt::green));
    QTest::mouseClick(&t.b, Qt::LeftButton);
    EXPECT_EQ(t.b.State(), ZevraButton::kUp);
    // Released outside: no click, the state is kept.
    QTest::mousePress(&t.b, Qt::LeftButton, {}, {5, 5});
    QTest::mouseRelease(&t.b, Qt::LeftButton, {}, {200, 5});
    EXPECT_EQ(t.clicks.count(), 2);
    EXPECT_EQ(t.b.State(), ZevraButton::kUp);
    EXPECT_EQ(t.presses.count(), 0) << "Mode 0 reports no press";

    t.b.setMode(ZevraButton::kNoDown);
    QTest::mouseClick(&t.b, Qt::LeftButton);
    EXPECT_EQ(t.clicks.count(), 3);
    EXPECT_EQ(t.b.State(), ZevraButton::kUp);

    t.b.setMode(ZevraButton::kPressAtOnce);
    QSignalSpy downs(&t.b, &ZevraButton::MouseDown);
    QTest::mousePress(&t.b, Qt::LeftButton, Qt::ShiftModifier, {6, 7});
    EXPECT_EQ(t.presses.count(), 1) << "before the button is released";
    EXPECT_EQ(t.clicks.count(), 3);
    ASSERT_EQ(downs.count(), 1);
    EXPECT_EQ(downs[0], (QList<QVariant>{1, 1, 6, 7}));
    QTest::mouseRelease(&t.b, Qt::LeftButton, {}, {6, 7});
    EXPECT_EQ(t.clicks.count(), 4);
}

TEST(ZevraButtonTest, StatesChooseThePictureAndTheMaskColourIsTransparent)
{
    Button t;
    t.b.setState(ZevraButton::kDisabled);
    EXPECT_FALSE(t.b.usable());
    QTest::mouseClick(&t.b, Qt::LeftButton);
    EXPECT_EQ(t.clicks.count(), 0);
    EXPECT_EQ(t.b.State(), ZevraButton::kDisabled);
    EXPECT_EQ(t.shown(), QColor(Qt::gray));

    t.b.setState(ZevraButton::kDown);
    EXPECT_FALSE(t.b.usable()) << "a latched button counts as not usable";
    QTest::mouseMove(&t.b, {3, 3});
    EXPECT_EQ(t.shown(), QColor(Qt::green));
    t.b.setState(ZevraButton::kHalf);
    EXPECT_TRUE(t.b.usable());
    EXPECT_EQ(t.shown(), QColor(Qt::red));
    EXPECT_TRUE(t.b.propertiesChanged());

    t.b.setMaskColor(Qt::red);
    EXPECT_EQ(t.shown().alpha(), 0);
    t.b.setUseMaskColor(false);
    EXPECT_EQ(t.shown(), QColor(Qt::red));
}

// A form with the strip and, unless told otherwise, its page array picPage_0 .. picPage_2.
struct Form {
    explicit Form(bool withPages = true)
    {
        auto* col = new QVBoxLayout(&form);
        tab = new ZevraTab(&form);
        tab->setObjectName("tabMn");
        col->addWidget(tab);
        if (withPages)
            for (int i = 0; i < 3; ++i) (new QLabel(&form))->setObjectName("picPage_" + QString::number(i));
        tab->setTabPictureBox("picPage");
    }
    QWidget* page(int i) { return form.findChild<QWidget*>("picPage_" + QString::number(i)); }
    QLabel* caption(int i) { return form.findChild<QLabel*>("lblTabCap_" + QString::number(i)); }
    QWidget form;
    ZevraTab* tab;
};

TEST(ZevraTabTest, CaptionsFollowAllCaptionAClickShowsItsPageAndMissingPagesAreReported)
{
    Form f;
    EXPECT_EQ(f.tab->Tabs(), 3);
    EXPECT_EQ(f.tab->TabsPerRow(), 3);
    f.tab->setTabCaption(1, "Picture");
    EXPECT_EQ(f.tab->All_Caption(), QString::fromUtf8("≡Picture"));
    EXPECT_EQ(f.tab->TabCaption(0), "Tab 0");
    EXPECT_EQ(f.tab->TabCaption(2), "Tab 2");
    EXPECT_EQ(f.caption(1)->text(), "Picture");
    EXPECT_EQ(f.caption(2)->text(), "Tab 2");

    // Clicking another tab raises one event and shows its page.
    f.form.show();
    QSignalSpy clicks(f.tab, &ZevraTab::Click);
    QTest::mouseClick(f.caption(2), Qt::LeftButton);
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks[0][0].toInt(), 2);
    EXPECT_EQ(f.tab->TabNow(), 2);
    EXPECT_EQ(f.caption(2)->property("Tag").toString(), "isTop");
    EXPECT_EQ(f.caption(0)->property("Tag").toString(), "");
    QCoreApplication::processEvents(); // tmrClick completes the switch after the click
    EXPECT_TRUE(f.page(2)->isVisible());
    EXPECT_FALSE(f.page(0)->isVisible());

    QTest::mouseClick(f.caption(2), Qt::LeftButton); // already selected: no event
    EXPECT_EQ(clicks.count(), 1);
    f.tab->setTabNow(1); // from the program: at once, no event
    EXPECT_TRUE(f.page(1)->isVisible());
    EXPECT_EQ(clicks.count(), 1);

    // A strip without its page array says so.
    Form bare(false);
    QSignalSpy missing(bare.tab, &ZevraTab::MissingPages);
    bare.tab->setTabNow(1);
    ASSERT_EQ(missing.count(), 1);
    EXPECT_EQ(missing[0][0].toString(), QString::fromUtf8("請設置控件 picPage 陣列 "));
}

} // namespace
} // namespace qorvid::test
