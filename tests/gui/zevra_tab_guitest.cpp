// The tab strip: captions, selecting by click, the page in front, a missing page array.
#include "controls/zevra_tab.h"

#include <QCoreApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

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

TEST(ZevraTabTest, CaptionsFollowAllCaptionAndAClickShowsItsPageWithOneEvent)
{
    Form f;
    EXPECT_EQ(f.tab->Tabs(), 3);
    EXPECT_EQ(f.tab->TabsPerRow(), 3);
    f.tab->setTabCaption(1, "Picture");
    EXPECT_EQ(f.tab->All_Caption(), QString::fromUtf8("≡Picture"));
    EXPECT_EQ(f.tab->TabCaption(0), "Tab 0");
    EXPECT_EQ(f.tab->TabCaption(1), "Picture");
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
}

TEST(ZevraTabTest, AMissingPageArrayIsReported)
{
    Form f(false);
    QSignalSpy missing(f.tab, &ZevraTab::MissingPages);
    f.tab->setTabNow(1);
    ASSERT_EQ(missing.count(), 1);
    EXPECT_EQ(missing[0][0].toString(), QString::fromUtf8("請設置控件 picPage 陣列 "));
}

} // namespace
