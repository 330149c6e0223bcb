#pragma once
#include "util/reporters.h"

#include <functional>
#include <string>

class QWidget;

namespace qorvid {

class LangText;

struct BoxRequest {
    std::string text; // CR LF already turned into line breaks of this platform
    Buttons buttons = Buttons::Ok;
    bool defaultNo = false;
};

// Every message and question of the program as a modal box titled "Qorvid". The presenter
// shows the box; tests replace it to read the texts and answer.
class MessageBoxes final : public MessageSink, public QuestionAsker {
public:
    using Presenter = std::function<Answer(const BoxRequest&)>;

    explicit MessageBoxes(const LangText& lang);

    void showMessage(const std::string& text) override;
    Answer ask(const std::string& text, Buttons buttons, bool defaultNo = false) override;

    Presenter presenter;
    QWidget* owner = nullptr; // the boxes are modal over it
    // The platform's box, with the button captions of the current language.
    Answer showQtBox(const BoxRequest& request) const;

private:
    const LangText& lang_;
};

} // namespace qorvid
