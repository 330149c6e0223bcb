#pragma once
#include "app/ui/frm_main.h"
#include "support/test_tools.h"
#include "util/shell_ops.h"
#include "util/text.h"

#include <QString>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace qorvid::test {

// The folder of the real plugins: this build's, else the main build's.
std::string pluginsDir();

// Records what the window opens instead of starting the desktop's programs.
class RecordingShell final : public ShellOps {
public:
    bool openDocument(const std::string& p, std::function<void()>) override
    {
        opened.push_back(p);
        return true;
    }
    bool runHidden(const std::string&) override { return true; }
    bool showInFileManager(const std::string&) override { return true; }
    std::vector<std::string> opened;
};

// A main window over a program folder of its own (plugins linked in, settings file there),
// with the message boxes and file dialogs scripted.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Makes the window; settingsText is written to Qorvid.ini first unless empty.
    void open(const std::string& settingsText = "Language=tw\r\n", bool developer = false);

    MainContext& ctx() { return win->context(); }
    std::string settingsFile() { return app.file("Qorvid.ini"); }
    // The text of message n in the window's current language.
    std::string msg(Msg m) { return ctx().lang[m]; }
    // Its text up to the first placeholder.
    QString msgHead(Msg m) { return QString::fromStdString(msg(m).substr(0, msg(m).find("aaa"))); }
    // Chooses a source through the source menu entry, the dialog answering with the path.
    void chooseSource(const char* menu, int index, const std::string& path);
    // A clip made with ffmpeg: w x h at fps for the seconds, with sound.
    std::string makeClip(const std::string& name, int w, int h, int fps, int seconds);

    TempDir app;
    TempDir media;
    std::unique_ptr<frmMain> win;
    RecordingShell shell;

    // Boxes: every text shown, in order; answers come from `answer` (default: OK / Yes).
    std::vector<std::string> boxTexts;
    std::string lastBox() const { return boxTexts.empty() ? "<no box>" : boxTexts.back(); }
    std::function<Answer(const BoxRequest&)> answer;
    // Questions that do not wait: they stay open here until the test answers them.
    struct OpenQuestion {
        BoxRequest request;
        MessageBoxes::Done done;
    };
    std::vector<OpenQuestion> openQuestions;
    // Dialogs: each request; the chooser takes the next path from `choices` ("" cancels).
    std::vector<DialogRequest> dialogs;
    std::deque<QString> choices;
};

} // namespace qorvid::test
