#include "controls/zevra_tab.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QStackedLayout>
#include <QVBoxLayout>

ZevraTab::ZevraTab(QWidget* parent) : QWidget(parent)
{
    capColor_ = palette().color(QPalette::WindowText);
    capFont_ = font();
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    captionRows_ = new QGridLayout;
    captionRows_->setSpacing(2);
    captionRows_->setContentsMargins(0, 0, 0, 0);
    column->addLayout(captionRows_);
    auto* area = new QWidget(this);
    area->setObjectName("picTabPageArea");
    area->setAutoFillBackground(true);
    pageArea_ = new QStackedLayout(area);
    pageArea_->setContentsMargins(6, 6, 6, 6);
    column->addWidget(area, 1);
    tmrClick.setSingleShot(true);
    tmrClick.setInterval(0); // right after the click has been handled
    connect(&tmrClick, &QTimer::timeout, this, &ZevraTab::showPage);
    rebuildCaptions();
}

void ZevraTab::setTabPictureBox(const QString& name)
{
    tabPictureBox_ = name;
    pages_.clear();
}

void ZevraTab::setTabCapColor(const QColor& c)
{
    capColor_ = c;
    redrawCaptions();
}

void ZevraTab::setTabCapFont(const QFont& f)
{
    capFont_ = f;
    for (QLabel* l : lblTabCap_) l->setFont(f);
}

void ZevraTab::setTabs(int n)
{
    tabs_ = std::max(1, n);
    if (tabNow_ >= tabs_) tabNow_ = 0;
    rebuildCaptions();
}

void ZevraTab::setTabsPerRow(int n)
{
    tabsPerRow_ = std::max(1, n);
    rebuildCaptions();
}

QString ZevraTab::TabCaption(int index) const
{
    const QStringList parts = allCaption_.split(kSeparator);
    if (index >= 0 && index < parts.size() && !parts[index].isEmpty()) return parts[index];
    return "Tab " + QString::number(index);
}

void ZevraTab::setTabCaption(int index, const QString& caption)
{
    if (index < 0) return;
    QStringList parts = allCaption_.split(kSeparator);
    while (parts.size() <= index) parts << QString();
    parts[index] = caption;
    allCaption_ = parts.join(kSeparator);
    if (index < static_cast<int>(lblTabCap_.size())) lblTabCap_[static_cast<size_t>(index)]->setText(TabCaption(index));
}

void ZevraTab::setTabNow(int index)
{
    if (index < 0 || index >= tabs_) return;
    tabNow_ = index;
    redrawCaptions();
    showPage();
}

void ZevraTab::clickTab(int index)
{
    if (index == tabNow_ || index < 0 || index >= tabs_) return;
    tabNow_ = index;
    redrawCaptions();
    emit Click(index);
    tmrClick.start();
}

void ZevraTab::rebuildCaptions()
{
    for (QWidget* w : picTabCap_) delete w;
    picTabCap_.clear();
    lblTabCap_.clear();
    for (int i = 0; i < tabs_; ++i) {
        auto* back = new QWidget(this);
        back->setObjectName("picTabCap_" + QString::number(i));
        back->setAutoFillBackground(true);
        auto* inner = new QVBoxLayout(back);
        inner->setContentsMargins(10, 4, 10, 4);
        auto* label = new QLabel(TabCaption(i), back);
        label->setObjectName("lblTabCap_" + QString::number(i));
        label->setAlignment(Qt::AlignCenter);
        label->setFont(capFont_);
        inner->addWidget(label);
        for (QObject* o : {static_cast<QObject*>(back), static_cast<QObject*>(label)}) {
            o->setProperty("TabIndex", i);
            o->installEventFilter(this);
        }
        captionRows_->addWidget(back, i / tabsPerRow_, i % tabsPerRow_);
        picTabCap_.push_back(back);
        lblTabCap_.push_back(label);
    }
    redrawCaptions();
}

void ZevraTab::redrawCaptions()
{
    for (int i = 0; i < static_cast<int>(lblTabCap_.size()); ++i) {
        const bool top = i == tabNow_;
        QLabel* label = lblTabCap_[static_cast<size_t>(i)];
        label->setProperty("Tag", top ? QString("isTop") : QString());
        QFont f = capFont_;
        f.setBold(top);
        label->setFont(f);
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, capColor_);
        label->setPalette(p);
        QWidget* back = picTabCap_[static_cast<size_t>(i)];
        QPalette bp = back->palette();
        bp.setColor(QPalette::Window, top ? palette().color(QPalette::Base) : palette().color(QPalette::Button));
        back->setPalette(bp);
    }
}

bool ZevraTab::attachPages()
{
    if (!pages_.empty()) return true;
    QWidget* form = window();
    for (int i = 0; i < tabs_; ++i) {
        auto* page = form->findChild<QWidget*>(tabPictureBox_ + "_" + QString::number(i));
        if (!page && i == 0) {
            emit MissingPages(QString::fromUtf8("請設置控件 ") + tabPictureBox_ + QString::fromUtf8(" 陣列 "));
            return false;
        }
        if (!page) break;
        pageArea_->addWidget(page);
        pages_.push_back(page);
    }
    return true;
}

void ZevraTab::showPage()
{
    if (!attachPages() || tabNow_ >= static_cast<int>(pages_.size())) return;
    QWidget* page = pages_[static_cast<size_t>(tabNow_)];
    pageArea_->setCurrentWidget(page);
    page->raise();
}

void ZevraTab::showEvent(QShowEvent*) { showPage(); }

bool ZevraTab::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::LeftButton) {
            clickTab(watched->property("TabIndex").toInt());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
