#pragma once
// Small helpers shared by the files of the options window.
#include "app/lang_text.h"
#include "util/text.h"

#include "controls/style_button.h"

#include <QColor>
#include <QString>

#include <algorithm>
#include <QWidget>

namespace qorvid::options_ui {

// What a number box lets through: digits only, or digits with "-" and ".".
enum KeyFilter { kDigits = 1, kSignedDecimal = 2 };
inline const char* kKeyFilter = "KeyFilter";

// A child named as the control, or as element `index` of a control array ("txtSize_1").
template <class W>
W* named(QWidget* parent, const QString& name, int index = -1)
{
    auto* w = new W(parent);
    w->setObjectName(index < 0 ? name : name + "_" + QString::number(index));
    if (index >= 0) w->setProperty("Index", index);
    return w;
}

// The flat skinned button of the window's rows, in its two background colours.
inline StyleButton* flatButton(QWidget* parent, const char* name, int index = -1,
                               QColor back = QColor(232, 236, 244), QColor over = QColor(242, 246, 252))
{
    auto* b = named<StyleButton>(parent, name, index);
    b->setButtonType(2);
    b->setSkipOverAndEnter(false);
    b->setBackColor(back);
    b->setBackColorOver(over);
    return b;
}

// Message n of the table, with CR LF as this platform's line breaks.
inline QString msgText(const LangText& lang, Msg m) { return QString::fromStdString(toUnixLines(lang[m])); }
inline QString qs(const std::string& s) { return QString::fromStdString(toUnixLines(s)); }
inline std::string ss(const QString& s) { return s.toStdString(); }

// A skinned button takes its caption and is made wide enough for it.
inline void setButtonCaption(StyleButton* b, const QString& caption)
{
    b->setCaption(caption);
    b->setMinimumWidth(std::max(b->minimumWidth(), b->fontMetrics().horizontalAdvance(caption) + 24));
}

} // namespace qorvid::options_ui
