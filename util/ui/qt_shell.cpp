#include "util/ui/qt_shell.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace qorvid {

bool QtShellOps::openDocument(const std::string& pathOrUrl, std::function<void()> onFailure)
{
    // Not QDesktopServices: it neither waits for its launcher (a defunct child per call) nor
    // tells whether any program took the file.
    std::function<void()> onWindowThread;
    if (onFailure)
        onWindowThread = [onFailure = std::move(onFailure)] {
            if (QCoreApplication* app = QCoreApplication::instance())
                QMetaObject::invokeMethod(app, onFailure, Qt::QueuedConnection);
        };
    return systemShell().openDocument(pathOrUrl, std::move(onWindowThread));
}

bool QtShellOps::runHidden(const std::string& path) { return systemShell().runHidden(path); }

bool QtShellOps::showInFileManager(const std::string& path) { return systemShell().showInFileManager(path); }

ShellOps& qtShell()
{
    static QtShellOps instance;
    return instance;
}

} // namespace qorvid
