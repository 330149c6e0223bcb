// A second start of the real program hands its command line to the first and ends.
#include "app/ui/single_instance.h"
#include "support/test_tools.h"
#include "tests/gui/gui_fixture.h"

#include <QProcess>

#include <filesystem>

#include <gtest/gtest.h>

namespace qorvid::test {
namespace {

// Reads the process's standard error until the line appears or the process ends.
bool waitForLine(QProcess& p, const QString& line, QString& seen)
{
    while (!seen.contains(line)) {
        if (p.state() == QProcess::NotRunning) return false;
        if (!p.waitForReadyRead(30000)) return seen.contains(line);
        seen += QString::fromUtf8(p.readAllStandardError());
    }
    return true;
}

// The server's name is the program folder's own.
TEST(SingleInstanceTest, SecondStartHandsOverAndEnds)
{
    EXPECT_NE(SingleInstance::serverName("/opt/a/"), SingleInstance::serverName("/opt/b/"));
    TempDir folder;
    const std::string program = folder.file("qorvid");
    std::filesystem::copy_file(buildDir() + "qorvid", program);
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    std::filesystem::create_directory_symlink(std::filesystem::path(pluginsDir()).parent_path(),
                                              folder.file("plugins"));
    writeFile(folder.file("Qorvid.ini"), "Language=en\r\n");

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QORVID_TRACE", "1");
    QProcess first, second;
    for (QProcess* p : {&first, &second}) {
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::SeparateChannels);
        p->setReadChannel(QProcess::StandardError);
    }
    first.start(QString::fromStdString(program), {});
    QString firstErr, secondErr;
    ASSERT_TRUE(waitForLine(first, "main window ready", firstErr)) << firstErr.toStdString();

    second.start(QString::fromStdString(program), {"--", "a file name.avi"});
    ASSERT_TRUE(second.waitForFinished(30000));
    secondErr = QString::fromUtf8(second.readAllStandardError());
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(secondErr.contains("handed over")) << secondErr.toStdString();
    EXPECT_FALSE(secondErr.contains("main window ready")) << secondErr.toStdString();

    EXPECT_TRUE(waitForLine(first, "raised for a later start", firstErr)) << firstErr.toStdString();
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished(10000);
}

} // namespace
} // namespace qorvid::test
