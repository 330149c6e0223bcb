// The marked range of the options window: the typed times of txtScope, the marks they set,
// clearing them and the range label.
#include "app/ui/frm_options.h"

#include "app/ui/frm_options_parts.h"
#include "app/ui/main_context.h"
#include "controls/style_button.h"
#include "controls/zevra_tab.h"
#include "engine/format_time.h"
#include "options/mark_times.h"
#include "app/ui/preview_slider.h"

#include <QLabel>
#include <QLineEdit>

namespace qorvid {

using namespace options_ui;

namespace {
std::string timeText(float seconds) { return FormatTime(seconds, 3, 1); }
} // namespace

// Both boxes are checked together when either is left; a refusal puts the box back to its mark.
bool frmOptions::checkScopeBoxes(int /*leftBox*/)
{
    if (checkingScope_ || (!txtScope[0]->isModified() && !txtScope[1]->isModified())) return true;
    checkingScope_ = true;
    for (QLineEdit* t : txtScope) t->setModified(false);
    const TypedMarks typed = checkTypedMarks(ss(txtScope[0]->text()), ss(txtScope[1]->text()), ctx_.job.srcLength,
                                             ctx_.lang);
    if (typed.message != Msg::None) {
        resetScopeBox(typed.resetBox);
        tabMn->setTabNow(kPageFrameRate); // the marks' page
        ctx_.boxes.showMessage(typed.text);
        txtScope[static_cast<size_t>(typed.resetBox)]->setFocus();
        txtScope[static_cast<size_t>(typed.resetBox)]->selectAll();
    } else {
        marks_ = typed.marks;
        for (int i = 0; i < 2; ++i)
            lblMark[static_cast<size_t>(i)]->setProperty(
                "Tag", marks_[static_cast<size_t>(i)] ? QString::number(*marks_[static_cast<size_t>(i)]) : QString());
    }
    refreshScopeNote();
    checkingScope_ = false;
    return typed.message == Msg::None;
}

void frmOptions::resetScopeBox(int box)
{
    const auto& mark = marks_[static_cast<size_t>(box)];
    std::string text = "00:00:00.0";
    if (mark) text = timeText(*mark);
    else if (box == 1 && ctx_.job.srcLength > 0) text = timeText(ctx_.job.srcLength);
    txtScope[static_cast<size_t>(box)]->setText(qs(text));
}

void frmOptions::clearMarks()
{
    marks_ = {};
    for (StyleButton* m : lblMark) m->setProperty("Tag", QString());
    txtScope[1]->setText(qs(timeText(ctx_.job.srcLength)));
    refreshScopeNote();
}

void frmOptions::refreshScopeNote()
{
    const LangText& L = ctx_.lang;
    if (ctx_.job.targetKind == TargetKind::OnlyFix) {
        lblScopeNote->setText(msgText(L, Msg::WholeVideoRepaired));
        return;
    }
    auto shown = [&](const std::optional<float>& m) { return m ? timeText(*m) : std::string("??"); };
    std::string text = L[Msg::MarkedRangeLabel] + shown(marks_[0]) + " - " + shown(marks_[1]) + " = ";
    text += marks_[0] && marks_[1] ? timeText(*marks_[1] - *marks_[0]) : std::string("??");
    lblScopeNote->setText(qs(text));
    imgSliderBG->setMarks(marks_[0], marks_[1]);
}

} // namespace qorvid
