// ZevraButton on its own: the states the player window sets and the three press modes.
#include "controls/zevra_button.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QPixmap solid(Qt::GlobalColor c)
{
    QPixmap p(8, 8);
    p.fill(c);
    return p;
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

} // namespace
