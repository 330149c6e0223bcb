#include "tests/gui/gui_fixture.h"

#include <QAction>

#include <filesystem>

namespace qorvid::test {

std::string pluginsDir()
{
    for (const std::string& dir : {buildDir() + "plugins/", sourceDir() + "build/plugins/"})
        if (fileExists(dir + "ZevraRes1.exe") && fileExists(dir + "ZevraRes2.exe") && fileExists(dir + "ZevraRes3.exe"))
            return dir;
    return buildDir() + "plugins/";
}

void MainWindowTest::SetUp()
{
    std::filesystem::create_directory_symlink(std::filesystem::path(pluginsDir()).parent_path(),
                                              app.path() + "plugins");
}

void MainWindowTest::TearDown()
{
    if (win) {
        // The window goes without its closing question.
        win->context().boxes.presenter = [](const BoxRequest&) { return Answer::Yes; };
        win.reset();
    }
}

void MainWindowTest::open(const std::string& settingsText, bool developer)
{
    if (!settingsText.empty()) writeFile(settingsFile(), settingsText);
    win = std::make_unique<frmMain>(AppPaths::forFolder(app.path()), developer);
    MainContext& c = win->context();
    c.shell = &shell;
    c.boxes.presenter = [this](const BoxRequest& r) {
        boxTexts.push_back(r.text);
        if (answer) return answer(r);
        return r.buttons == Buttons::Ok || r.buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
    };
    c.boxes.laterPresenter = [this](const BoxRequest& r, MessageBoxes::Done done) {
        boxTexts.push_back(r.text);
        openQuestions.push_back({r, std::move(done)});
    };
    c.dialog.chooser = [this](const DialogRequest& r) {
        dialogs.push_back(r);
        DialogResult res;
        if (!choices.empty()) {
            if (!choices.front().isEmpty()) res.paths << choices.front();
            choices.pop_front();
        }
        return res;
    };
    win->load();
    win->show();
}

void MainWindowTest::chooseSource(const char* menu, int index, const std::string& path)
{
    choices.push_back(QString::fromStdString(path));
    QAction* item = win->menuItem(menu, index);
    ASSERT_NE(item, nullptr) << menu << " " << index;
    item->trigger();
}

std::string MainWindowTest::makeClip(const std::string& name, int w, int h, int fps, int seconds)
{
    const std::string path = media.file(name);
    const std::string t = std::to_string(seconds);
    makeMedia(path, "testsrc2=size=" + std::to_string(w) + "x" + std::to_string(h) + ":rate=" + std::to_string(fps) + ":duration=" + t,
              "sine=sample_rate=44100:duration=" + t, {"-c:v", "mpeg4", "-q:v", "5", "-c:a", "libmp3lame"});
    return path;
}

} // namespace qorvid::test
