#pragma once
#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;

namespace qorvid {

// One running copy per user and program folder: a second start hands its command line to the
// first over a local socket that only this user can open, and ends.
class SingleInstance final : public QObject {
    Q_OBJECT
public:
    // The socket name for this user and program folder.
    static QString serverName(const QString& appFolder);

    // Sends the arguments to a running copy; true when one took them.
    static bool handOver(const QString& name, const QStringList& arguments);

    // Becomes the running copy; false when the name cannot be taken.
    bool listen(const QString& name);

signals:
    // A later start's command line arrived.
    void commandLineReceived(const QStringList& arguments);

private:
    QLocalServer* server_ = nullptr;
};

} // namespace qorvid
