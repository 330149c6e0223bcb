#pragma once
#include "app/ui/frm_options.h"
#include "controls/style_button.h"
#include "controls/zevra_tab.h"
#include "tests/gui/gui_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <cstdlib>

namespace qorvid::test {

// The main window with its options window, driven through the controls by their names.
class OptionsWindowTest : public MainWindowTest {
public:
    frmOptions& opts() { return win->optionsWindow(); }

    template <class W>
    W* child(const char* name)
    {
        W* w = opts().findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // A clip of this test: 320 x 240 at 25 frames per second, three seconds with sound.
    std::string clip()
    {
        if (clip_.empty()) clip_ = makeClip("source.avi", 320, 240, 25, 3);
        return clip_;
    }
    void openOptions()
    {
        win->cmdOptClick();
        ASSERT_TRUE(opts().isVisible());
        QApplication::setActiveWindow(&opts());
    }
    // Chooses a list item as a click does.
    void pick(const char* list, int index)
    {
        auto* box = child<QComboBox>(list);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    // Types over the text of a box (or of an editable list) key by key.
    void typeInto(const char* name, const QString& text)
    {
        QWidget* w = opts().findChild<QWidget*>(name);
        ASSERT_NE(w, nullptr) << name;
        QLineEdit* box = qobject_cast<QLineEdit*>(w);
        if (!box) box = qobject_cast<QComboBox*>(w)->lineEdit();
        box->setFocus(); // so that a click elsewhere leaves the box, as a person's does
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
    }
    // The command the encode button would run now, from the tool's name on (the tool's
    // folder differs between program folders).
    std::string windowCommand()
    {
        const std::string command = win->planJob().command;
        const size_t at = command.find("ZevraRes");
        return at == std::string::npos ? command : command.substr(at);
    }
    // The command `qorvid-cli convert --dry-run` gives for the same source and target.
    std::string cliCommand(const std::string& key, const std::vector<std::string>& options)
    {
        std::vector<std::string> argv{buildDir() + "qorvid-cli", "convert", ctx().labels.input, "--to", key};
        argv.insert(argv.end(), options.begin(), options.end());
        argv.insert(argv.end(), {"--out", ctx().labels.output, "--dry-run", "--lang", "tw"});
        RunResult r = runProgram(argv);
        EXPECT_EQ(r.exitCode, 0) << r.output;
        const size_t at = r.output.rfind("ZevraRes");
        return at == std::string::npos ? "" : r.output.substr(at, r.output.find('\n', at) - at);
    }
    void click(const char* button) { QTest::mouseClick(child<StyleButton>(button), Qt::LeftButton); }
    // A change made through a control: a box's text set or typed key by key, a list item
    // picked, a choice clicked, or a button clicked `value` times.
    struct Step {
        enum How { SetText, Type, Pick, Choose, Click } how;
        const char* control;
        std::string value;
    };
    void apply(const std::vector<Step>& steps)
    {
        for (const Step& st : steps) {
            if (st.how == Step::SetText) child<QLineEdit>(st.control)->setText(QString::fromStdString(st.value));
            if (st.how == Step::Type) typeInto(st.control, QString::fromStdString(st.value));
            if (st.how == Step::Pick) pick(st.control, std::atoi(st.value.c_str()));
            if (st.how == Step::Choose) child<QRadioButton>(st.control)->click();
            for (int i = 0; st.how == Step::Click && i < std::atoi(st.value.c_str()); ++i) click(st.control);
        }
    }
    // The control with the focus; a list's edit box counts as the list.
    std::string focusedControl()
    {
        QWidget* f = QApplication::focusWidget();
        if (!f) return "<none>";
        if (f->objectName().isEmpty() && f->parentWidget()) f = f->parentWidget();
        return f->objectName().toStdString();
    }

private:
    std::string clip_;
};

} // namespace qorvid::test
