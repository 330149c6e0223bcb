// Drives the real main window for the bench scripts and the screenshots.
//   qorvid_gui_driver icon OUT.png
//   qorvid_gui_driver gap SOURCE --plugins DIR [--lang tw]     longest event-loop gap of one conversion
//   qorvid_gui_driver shots SOURCE OUTDIR --plugins DIR         main window idle and converting, 3 languages
//   qorvid_gui_driver options-shots SOURCE OUTDIR --plugins DIR every page of the options window, tw and en
//   qorvid_gui_driver options-encode SOURCE --plugins DIR       size, marks and volume set in the window, then encode
//   qorvid_gui_driver options-refusal SOURCE --plugins DIR      a typed time refused by OK, with the real box
//   qorvid_gui_driver subtitle-shots SOURCE SUBS OUTDIR --plugins DIR  the subtitle page's trial play, tw and en
//   qorvid_gui_driver player-shots VIDEO SOUND OUTDIR --plugins DIR  the player window playing each, tw and en
//   qorvid_gui_driver player-bench VIDEO --plugins DIR [--seconds N] first frame and own CPU of the player window
#include "app/ui/frm_about.h"
#include "app/ui/frm_main.h"
#include "app/ui/frm_options.h"
#include "app/ui/frm_player.h"
#include "app/ui/progress_picture.h"
#include "controls/style_button.h"
#include "controls/zevra_tab.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QScreen>
#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <filesystem>
#include <memory>
#include <string>

using namespace qorvid;

namespace {

// CPU time of this process alone (its children, the player among them, not counted).
double ownCpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

struct Window {
    QTemporaryDir app;
    std::unique_ptr<frmMain> win;
    bool stopOnResult = false;

    Window(const std::string& plugins, const std::string& lang, const std::string& source)
    {
        std::filesystem::create_directory_symlink(plugins, app.path().toStdString() + "/plugins");
        QFile ini(app.path() + "/Qorvid.ini");
        ini.open(QIODevice::WriteOnly);
        ini.write(("Language=" + lang + "\r\n").c_str());
        ini.close();
        win = std::make_unique<frmMain>(AppPaths::forFolder(app.path().toStdString() + "/"), false);
        MainContext& c = win->context();
        c.boxes.presenter = [](const BoxRequest& r) {
            if (r.buttons == Buttons::OkCancel && r.text.find("\n\n") != std::string::npos &&
                r.text.find("Qorvid") == std::string::npos && r.text.rfind('/', 0) == 0)
                return Answer::Cancel; // the success box: do not play
            return r.buttons == Buttons::YesNo || r.buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
        };
        c.dialog.chooser = [source](const DialogRequest&) { return DialogResult{{QString::fromStdString(source)}, 1}; };
        win->load();
        win->move(0, 0);
        win->show();
        if (!QTest::qWaitForWindowExposed(win.get())) std::fprintf(stderr, "window not exposed\n");
        win->menuItem("mnuSrcIsFileToAvi", 3)->trigger(); // H.264
        // Remove a target left by an earlier run so that no overwrite question comes.
        std::filesystem::remove(c.labels.output);
    }
    ~Window()
    {
        win->context().boxes.presenter = [](const BoxRequest&) { return Answer::Yes; };
    }
};

int gap(const std::string& source, const std::string& plugins, const std::string& lang)
{
    Window w(plugins, lang, source);
    QElapsedTimer clock;
    qint64 last = -1, longest = 0, ticks = 0;
    QTimer probe;
    probe.setInterval(5);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        if (last >= 0) longest = std::max(longest, now - last);
        last = now;
        ++ticks;
    });
    clock.start();
    probe.start();
    QTest::mouseClick(w.win->cmdEncode[0], Qt::LeftButton);
    probe.stop();
    const double seconds = clock.elapsed() / 1000.0;
    std::printf("conversion: %.1f s, timer ticks: %lld, longest event-loop gap: %lld ms\n", seconds, ticks, longest);
    std::printf("target: %s (%lld bytes)\n", w.win->context().labels.output.c_str(),
                static_cast<long long>(std::filesystem::exists(w.win->context().labels.output)
                                           ? std::filesystem::file_size(w.win->context().labels.output)
                                           : 0));
    std::filesystem::remove(w.win->context().labels.output);
    return 0;
}

int shots(const std::string& source, const std::string& outDir, const std::string& plugins)
{
    for (const std::string lang : {"tw", "gb", "en"}) {
        Window w(plugins, lang, source);
        QTest::qWait(200);
        w.win->grab().save(QString::fromStdString(outDir + "/main_idle_" + lang + ".png"));
        bool shot = false;
        QTimer watch;
        watch.setInterval(50);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (shot || w.win->picProgress->percent() < 20) return;
            shot = true;
            w.win->cpuTick(); // a fresh CPU line and estimate on the picture
            QTest::qWait(100);
            w.win->grab().save(QString::fromStdString(outDir + "/main_running_" + lang + ".png"));
            QTest::mouseClick(w.win->cmdEncode[1], Qt::LeftButton);
        });
        watch.start();
        QTest::mouseClick(w.win->cmdEncode[0], Qt::LeftButton);
        std::printf("%s: %s\n", lang.c_str(), shot ? "idle and running" : "idle only");
    }
    return 0;
}

frmOptions& openOptions(Window& w)
{
    w.win->cmdOptClick();
    frmOptions& o = w.win->optionsWindow();
    o.move(0, 0);
    if (!QTest::qWaitForWindowExposed(&o)) std::fprintf(stderr, "options window not exposed\n");
    return o;
}

int optionsShots(const std::string& source, const std::string& outDir, const std::string& plugins)
{
    for (const std::string lang : {"tw", "en"}) {
        Window w(plugins, lang, source);
        frmOptions& o = openOptions(w);
        auto* tab = o.findChild<ZevraTab*>("tabMn");
        for (int page = 0; page < 5; ++page) {
            tab->setTabNow(page);
            QTest::qWait(150);
            o.grab().save(QString::fromStdString(outDir + "/options_" + std::to_string(page) + "_" + lang + ".png"));
        }
        QTest::mouseClick(o.findChild<StyleButton*>("cmdOkCancel_1"), Qt::LeftButton);
        // A sound target covers the picture page with its mask.
        w.win->menuItem("mnuSrcIsFileToSound", 1)->trigger();
        openOptions(w);
        tab->setTabNow(1);
        QTest::qWait(150);
        o.grab().save(QString::fromStdString(outDir + "/options_mask_" + lang + ".png"));
        std::printf("%s: 5 pages and a mask\n", lang.c_str());
    }
    return 0;
}

// The options window with the preview playing and a crop rectangle drawn, in tw and en: the
// whole screen is grabbed, because the player draws into a window of its own.
int previewShots(const std::string& source, const std::string& outDir, const std::string& plugins)
{
    for (const std::string lang : {"tw", "en"}) {
        Window w(plugins, lang, source);
        frmOptions& o = openOptions(w);
        QTest::mouseClick(o.findChild<StyleButton*>("lblPlay"), Qt::LeftButton);
        QTest::qWait(1500);
        QTest::mouseClick(o.findChild<StyleButton*>("lblPause"), Qt::LeftButton);
        QWidget* pic = o.findChild<QWidget*>("picPlayer");
        const QPoint a(pic->width() / 5, pic->height() / 6), b(pic->width() * 4 / 5, pic->height() * 5 / 6);
        QTest::mousePress(pic, Qt::LeftButton, {}, a);
        QTest::mouseMove(pic, (a + b) / 2);
        QTest::mouseMove(pic, b);
        QTest::mouseRelease(pic, Qt::LeftButton, {}, b);
        QTest::qWait(400);
        const QRect frame = o.frameGeometry();
        o.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
            .save(QString::fromStdString(outDir + "/preview_" + lang + ".png"));
        o.stopPreview();
        QTest::mouseClick(o.findChild<StyleButton*>("cmdOkCancel_1"), Qt::LeftButton);
        std::printf("%s: preview with a crop rectangle\n", lang.c_str());
    }
    return 0;
}

// From pressing play to the first picture in picPlayer, the program's own CPU time while the
// preview plays, and the longest gap of the event loop meanwhile. One line of figures.
int previewBench(const std::string& source, const std::string& plugins, int seconds)
{
    Window w(plugins, "en", source);
    frmOptions& o = openOptions(w);
    QWidget* pic = o.findChild<QWidget*>("picPlayer");
    auto lit = [&] {
        const QImage img = QGuiApplication::primaryScreen()->grabWindow(pic->winId(), pic->width() / 2 - 8,
                                                                        pic->height() / 2 - 8, 16, 16).toImage();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qGray(img.pixel(x, y)) > 20) return true;
        return false;
    };
    QElapsedTimer t;
    t.start();
    QTest::mouseClick(o.findChild<StyleButton*>("lblPlay"), Qt::LeftButton);
    while (!lit() && t.elapsed() < 10000) QTest::qWait(5);
    const qint64 firstMs = t.elapsed();
    // Longest gap between two ticks of a 5 ms timer while it plays.
    qint64 longest = 0, last = t.elapsed();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = std::max(longest, t.elapsed() - last);
        last = t.elapsed();
    });
    const double cpu0 = ownCpuSeconds();
    const qint64 wall0 = t.elapsed();
    tick.start(5);
    QTest::qWait(seconds * 1000);
    tick.stop();
    const double cpuShare = (ownCpuSeconds() - cpu0) / ((t.elapsed() - wall0) / 1000.0) * 100.0;
    o.stopPreview();
    std::printf("first_frame_ms=%lld own_cpu_percent=%.2f longest_gap_ms=%lld\n", static_cast<long long>(firstMs),
                cpuShare, static_cast<long long>(longest));
    return 0;
}

// Sets a size, a marked range and a volume in the window, presses OK and encodes.
int optionsEncode(const std::string& source, const std::string& plugins)
{
    Window w(plugins, "en", source);
    frmOptions& o = openOptions(w);
    auto* size = o.findChild<QComboBox*>("cboSize");
    size->setCurrentIndex(1);
    emit size->activated(1);
    o.findChild<QLineEdit*>("txtSize_0")->setText("320");
    o.findChild<QLineEdit*>("txtSize_1")->setText("180");
    const char* times[] = {"00:00:02.0", "00:00:06.0"};
    for (int i = 0; i < 2; ++i) {
        auto* box = o.findChild<QLineEdit*>("txtScope_" + QString::number(i));
        box->selectAll();
        QTest::keyClicks(box, times[i]);
        emit box->editingFinished();
    }
    for (int i = 0; i < 3; ++i) QTest::mouseClick(o.findChild<StyleButton*>("imgVolume_1"), Qt::LeftButton);
    QTest::mouseClick(o.findChild<StyleButton*>("cmdOkCancel_0"), Qt::LeftButton);
    if (o.isVisible()) {
        std::fprintf(stderr, "the options window refused OK\n");
        return 1;
    }
    std::printf("%s\n", w.win->context().summary.c_str());
    QTest::mouseClick(w.win->cmdEncode[0], Qt::LeftButton);
    std::printf("target: %s\n", w.win->context().labels.output.c_str());
    return 0;
}

// A typed time that OK must refuse, with the platform's real message box (closed after a moment).
int optionsRefusal(const std::string& source, const std::string& plugins)
{
    Window w(plugins, "en", source);
    MainContext& c = w.win->context();
    std::vector<std::string> shown;
    c.boxes.presenter = [&](const BoxRequest& r) {
        shown.push_back(r.text);
        QTimer::singleShot(300, [] {
            if (QWidget* box = QApplication::activeModalWidget()) box->close();
        });
        return c.boxes.showQtBox(r);
    };
    frmOptions& o = openOptions(w);
    auto* box = o.findChild<QLineEdit*>("txtScope_0");
    QTest::mouseClick(box, Qt::LeftButton);
    box->selectAll();
    QTest::keyClicks(box, "0:00:01.0");
    QTest::mouseClick(o.findChild<StyleButton*>("cmdOkCancel_0"), Qt::LeftButton);
    QTest::qWait(500);
    std::printf("boxes shown: %zu\n", shown.size());
    for (const auto& t : shown) std::printf("--\n%s\n", t.c_str());
    std::printf("options window still shown: %s, txtScope_0 = %s\n", o.isVisible() ? "yes" : "no",
                box->text().toStdString().c_str());
    return 0;
}

// The player window playing a video and a sound file, grabbed from the screen (the player
// draws into a window of its own).
int playerShots(const std::string& video, const std::string& sound, const std::string& outDir, const std::string& plugins)
{
    for (const std::string lang : {"tw", "en"}) {
        Window w(plugins, lang, video);
        frmPlayer& p = w.win->playerWindow();
        for (const auto& [file, name] : {std::pair{video, "player_"}, std::pair{sound, "player_sound_"}}) {
            p.playSingle(file);
            QTest::qWait(2500);
            const QRect frame = p.frameGeometry();
            p.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
                .save(QString::fromStdString(outDir + "/" + name + lang + ".png"));
        }
        p.close();
        std::printf("%s: video and sound\n", lang.c_str());
    }
    return 0;
}

// From playSingle to the first picture in picPlayer, and the program's own CPU time while the
// player window plays (the player aside, in percent of one core). One line of figures.
int playerBench(const std::string& video, const std::string& plugins, int seconds)
{
    Window w(plugins, "en", video);
    frmPlayer& p = w.win->playerWindow();
    QWidget* pic = p.findChild<QWidget*>("picPlayer");
    // A patch a quarter in from the top left: the note over the video's centre stays out of it.
    auto patch = [&] {
        return QGuiApplication::primaryScreen()->grabWindow(pic->winId(), pic->width() / 4 - 8, pic->height() / 4 - 8, 16, 16).toImage();
    };
    // The test picture's colour bars; neither the screen's background nor the colour key is coloured.
    auto lit = [&] {
        const QImage img = patch();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QColor c = img.pixelColor(x, y);
                if (std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 100) return true;
            }
        return false;
    };
    QElapsedTimer t;
    t.start();
    p.playSingle(video);
    while (!lit() && t.elapsed() < 10000) QTest::qWait(5);
    const qint64 firstMs = t.elapsed();
    // Again in the shown window: a file that cannot be played first takes the picture away.
    QTest::qWait(1000);
    p.playSingle(video + ".missing");
    QTest::qWait(300);
    if (lit()) std::fprintf(stderr, "the last picture is still shown\n");
    t.restart();
    p.playSingle(video);
    while (!lit() && t.elapsed() < 10000) QTest::qWait(5);
    const qint64 againMs = t.elapsed();
    const double cpu0 = ownCpuSeconds();
    const qint64 wall0 = t.elapsed();
    QTest::qWait(seconds * 1000);
    const double cpuShare = (ownCpuSeconds() - cpu0) / ((t.elapsed() - wall0) / 1000.0) * 100.0;
    p.close();
    std::printf("first_frame_ms=%lld again_ms=%lld own_cpu_percent=%.2f\n", static_cast<long long>(firstMs),
                static_cast<long long>(againMs), cpuShare);
    return 0;
}

std::string option(int argc, char** argv, const std::string& name, const std::string& fallback)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (argv[i] == name) return argv[i + 1];
    return fallback;
}

} // namespace

// The subtitle page with a subtitle file chosen and its trial play in the preview, tw and en.
int subtitleShots(const std::string& source, const std::string& subs, const std::string& outDir,
                  const std::string& plugins)
{
    for (const std::string lang : {"tw", "en"}) {
        Window w(plugins, lang, source);
        frmOptions& o = openOptions(w);
        o.findChild<ZevraTab*>("tabMn")->setTabNow(4);
        QTest::mouseClick(o.findChild<QRadioButton*>("optSub_1"), Qt::LeftButton);
        o.findChild<QLineEdit*>("txtSubFile")->setText(QString::fromStdString(subs));
        auto* fonts = o.findChild<QComboBox*>("cboSubFont");
        std::printf("%s: %d fonts, chosen: %s\n", lang.c_str(), fonts->count(), fonts->currentText().toStdString().c_str());
        QTest::mouseClick(o.findChild<StyleButton*>("cmdSubPlay"), Qt::LeftButton);
        QTest::qWait(2500);
        QTest::mouseClick(o.findChild<StyleButton*>("lblPause"), Qt::LeftButton);
        QTest::qWait(300);
        const QRect frame = o.frameGeometry();
        o.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
            .save(QString::fromStdString(outDir + "/subtitle_" + lang + ".png"));
        o.stopPreview();
        QTest::mouseClick(o.findChild<StyleButton*>("cmdOkCancel_1"), Qt::LeftButton);
    }
    return 0;
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const std::string mode = argc > 1 ? argv[1] : "";
    const std::string plugins = option(argc, argv, "--plugins", "");
    if (mode == "icon" && argc > 2) return programIcon(256).save(argv[2]) ? 0 : 1;
    if (mode == "gap" && argc > 2) return gap(argv[2], plugins, option(argc, argv, "--lang", "tw"));
    if (mode == "shots" && argc > 3) return shots(argv[2], argv[3], plugins);
    if (mode == "options-shots" && argc > 3) return optionsShots(argv[2], argv[3], plugins);
    if (mode == "preview-bench" && argc > 2)
        return previewBench(argv[2], plugins, std::stoi(option(argc, argv, "--seconds", "30")));
    if (mode == "preview-shots" && argc > 3) return previewShots(argv[2], argv[3], plugins);
    if (mode == "options-encode" && argc > 2) return optionsEncode(argv[2], plugins);
    if (mode == "options-refusal" && argc > 2) return optionsRefusal(argv[2], plugins);
    if (mode == "subtitle-shots" && argc > 4) return subtitleShots(argv[2], argv[3], argv[4], plugins);
    if (mode == "player-shots" && argc > 4) return playerShots(argv[2], argv[3], argv[4], plugins);
    if (mode == "player-bench" && argc > 2)
        return playerBench(argv[2], plugins, std::stoi(option(argc, argv, "--seconds", "30")));
    std::fprintf(stderr, "usage: qorvid_gui_driver icon OUT.png | gap SOURCE --plugins DIR | shots SOURCE OUTDIR --plugins DIR\n");
    return 2;
}
