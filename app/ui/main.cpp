// qorvid: the desktop program.
#include "app/close_stale_tools.h"
#include "app/paths.h"
#include "app/system_language.h"
#include "app/ui/frm_main.h"
#include "app/ui/frm_splash.h"
#include "app/ui/single_instance.h"
#include "util/file_object.h"

#include <QApplication>
#include <QDateTime>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

// QORVID_TRACE=1 prints the moments of the start-up (for the bench scripts) to standard error.
bool tracing()
{
    static const bool on = std::getenv("QORVID_TRACE") != nullptr;
    return on;
}

void trace(const char* what)
{
    if (!tracing()) return;
    std::fprintf(stderr, "qorvid: %s at %lld\n", what, static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
    std::fflush(stderr);
}

// Reports when the main window has really been put on the screen.
class ShownWatcher final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Expose || e->type() == QEvent::Paint) {
            trace("main window shown");
            o->removeEventFilter(this);
        }
        return false;
    }
};

} // namespace

int main(int argc, char** argv)
{
    // The player draws into our windows through X11 ("-wid"): under Wayland, Qt runs on
    // XWayland, unless the user chose a platform.
    if (std::getenv("WAYLAND_DISPLAY") && std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "xcb", 1);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Qorvid");
    QApplication::setDesktopFileName("qorvid");
    QApplication::setQuitOnLastWindowClosed(true);

    // 1. The program-wide folders.
    const qorvid::AppPaths paths = qorvid::AppPaths::fromRunningProgram();

    // 3. The splash, in Chinese when the settings or the system say so.
    const bool chinese = qorvid::frmSplash::chineseFor(qorvid::fileObject().GetFileText(paths.settingsFile()),
                                                       qorvid::systemLanguage());

    // 4. Tool processes left over from an earlier run.
    qorvid::closeStaleTools(paths.toolPrefix());

    // 5. A running copy takes the command line and this copy ends.
    const QString instance = qorvid::SingleInstance::serverName(QString::fromStdString(paths.appFolder));
    if (qorvid::SingleInstance::handOver(instance, QApplication::arguments().mid(1))) {
        trace("handed over");
        return 0;
    }
    qorvid::SingleInstance single;
    single.listen(instance);

    // 2, 6 to 11: the main window with its title, developer mode, settings, language and timers.
    const bool developer = qorvid::fileObject().FileExists(paths.appFolder + "Boss Tarvel.ico");
    qorvid::frmMain main(paths, developer);
    auto* splash = new qorvid::frmSplash(chinese, &main);
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->show();
    QApplication::processEvents();

    main.load();
    ShownWatcher watcher;
    main.installEventFilter(&watcher);
    main.setWindowOpacity(0.0);
    main.show();
    splash->raise();
    splash->mainWindowReady();
    trace("main window ready");

    QObject::connect(&single, &qorvid::SingleInstance::commandLineReceived, &main, [&main](const QStringList&) {
        main.showNormal();
        main.setWindowOpacity(1.0);
        main.raise();
        main.activateWindow();
        trace("raised for a later start");
    });
    return app.exec();
}
