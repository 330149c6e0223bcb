#include "util/ui/qt_shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace qorvid {

bool QtShellOps::openDocument(const std::string& pathOrUrl)
{
    if (pathOrUrl.empty()) return false;
    const QString s = QString::fromStdString(pathOrUrl);
    // An address keeps its scheme; anything else is a file name, never parsed as a URL.
    const bool address = s.startsWith("http:") || s.startsWith("https:") || s.startsWith("mailto:");
    return QDesktopServices::openUrl(address ? QUrl(s) : QUrl::fromLocalFile(s));
}

bool QtShellOps::runHidden(const std::string& path) { return systemShell().runHidden(path); }

bool QtShellOps::showInFileManager(const std::string& path) { return systemShell().showInFileManager(path); }

ShellOps& qtShell()
{
    static QtShellOps instance;
    return instance;
}

} // namespace qorvid
