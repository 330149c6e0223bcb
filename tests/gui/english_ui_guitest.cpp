// In English the windows show no Chinese: every caption, tool tip, list item and menu text.
#include "tests/gui/options_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>

namespace qorvid::test {
namespace {

bool hasChinese(const QString& text)
{
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3000 && u <= 0x303F) || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF)) return true;
    }
    return false;
}

// Every text a person can meet on the widget and its children, with where it stands.
std::vector<std::pair<QString, QString>> textsOf(QWidget* root)
{
    std::vector<std::pair<QString, QString>> out;
    auto add = [&](QObject* o, const QString& what, const QString& text) {
        out.push_back({o->objectName() + " " + what, text});
    };
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.push_front(root);
    for (QWidget* w : widgets) {
        add(w, "tip", w->toolTip());
        add(w, "title", w->windowTitle());
        if (auto* l = qobject_cast<QLabel*>(w)) add(w, "text", l->text());
        if (auto* b = qobject_cast<QAbstractButton*>(w)) add(w, "text", b->text());
        if (auto* b = qobject_cast<StyleButton*>(w)) add(w, "caption", b->Caption());
        if (auto* t = qobject_cast<ZevraTab*>(w)) add(w, "captions", t->property("All_Caption").toString());
        if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i) add(w, "item", c->itemText(i));
        if (auto* m = qobject_cast<QMenu*>(w)) add(w, "menu", m->title());
        for (QAction* a : w->actions()) add(a, "action", a->text() + " " + a->toolTip());
    }
    return out;
}

} // namespace

TEST_F(OptionsWindowTest, EnglishWindowsShowNoChinese)
{
    open("Language=en\r\n");
    // Each language names itself in the language menu: those three are meant to stay.
    const QStringList ownNames = {"mnuLngTW", "mnuLngGB"};
    for (const auto& [menu, index] : std::vector<std::pair<const char*, int>>{{"mnuSrcIsFileToAvi", 3},
                                                                               {"mnuSrcIsFileToSound", 1},
                                                                               {"mnuSrcIsFileToCut", 2}}) {
        chooseSource(menu, index, clip());
        openOptions();
        for (QWidget* window : {static_cast<QWidget*>(win.get()), static_cast<QWidget*>(&opts())})
            for (const auto& [where, text] : textsOf(window))
                EXPECT_TRUE(ownNames.contains(where.section(' ', 0, 0)) || !hasChinese(text))
                    << menu << ": " << where.toStdString() << ": " << text.toStdString();
        click("cmdOkCancel_1");
    }
}

} // namespace qorvid::test
