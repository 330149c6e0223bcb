#include "app/ui/frm_splash.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace qorvid {

QString frmSplash::marqueeText(bool chinese)
{
    // The author line is a neutral one of our own.
    const char* en = "Welcome to Zevra\r\nQorvid 1.8.2\r\n\r\nLoading Language\r\nLoading Module\r\nLoading Decoder\r\n"
                     "Loading Encoder\r\nLoading Plugins\r\nLoading Config\r\nLoading Options";
    const char* tw = "歡迎您使用 Zevra\r\nQorvid 1.8.2\r\n\r\n正在讀取：語庫\r\n正在讀取：模組\r\n正在讀取：解碼器\r\n"
                     "正在讀取：轉碼器\r\n正在讀取：介面區\r\n正在讀取：配置表\r\n正在讀取：緩衝頁";
    return QString::fromUtf8(chinese ? tw : en);
}

bool frmSplash::chineseFor(const std::string& settingsText, const std::string& systemLanguage)
{
    if (!settingsText.empty()) return settingsText.find("Language=tw") != std::string::npos;
    return systemLanguage == "tw";
}

frmSplash::frmSplash(bool chinese, QWidget* mainWindow)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), main_(mainWindow)
{
    setObjectName("frmSplash");
    setFixedSize(360, 200);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(24, 40, 64));
    pal.setColor(QPalette::WindowText, QColor(230, 236, 245));
    setPalette(pal);

    picRestore_ = new QWidget(this);
    picRestore_->setObjectName("picRestore");
    picRestore_->setGeometry(0, 0, width(), height());
    lblMarquee_ = new QLabel(marqueeText(chinese).replace("\r\n", "\n"), picRestore_);
    lblMarquee_->setObjectName("lblMarquee");
    lblMarquee_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblMarquee_->setGeometry(0, height() - 60, width(), lblMarquee_->sizeHint().height() + 20);

    if (QScreen* s = QGuiApplication::primaryScreen()) move(s->geometry().center() - rect().center());
    timeMarquee_.setInterval(kTickMs);
    connect(&timeMarquee_, &QTimer::timeout, this, &frmSplash::tick);
    timeMarquee_.start();
}

void frmSplash::tick()
{
    ++ticks_;
    if (ready_) {
        if (fadeStart_ < 0) {
            fadeStart_ = ticks_;
            step_ = 250.0 / std::max(1, kFullTick - fadeStart_);
        }
        opacity_ = std::min(255, static_cast<int>(std::lround(step_ * (ticks_ - fadeStart_))));
        if (main_) main_->setWindowOpacity(opacity_ / 255.0);
    }
    lblMarquee_->move(lblMarquee_->x(), lblMarquee_->y() - 1);
    if (ticks_ > kCloseAfter) close();
}

void frmSplash::closeEvent(QCloseEvent* e)
{
    timeMarquee_.stop();
    opacity_ = 255;
    if (main_) main_->setWindowOpacity(1.0);
    emit finished();
    e->accept();
}

} // namespace qorvid
