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

    // A question that does not wait for its answer: the program runs on (a job keeps being
    // driven) while the box is open, and done gets the answer once it is given.
    using Done = std::function<void(Answer)>;
    using LaterPresenter = std::function<void(const BoxRequest&, Done)>;
    void askLater(const std::string& text, Buttons buttons, Done done);

    Presenter presenter;
    LaterPresenter laterPresenter;
    QWidget* owner = nullptr; // the boxes are modal over it
    // The platform's box, with the button captions of the current language.
    Answer showQtBox(const BoxRequest& request) const;
    // The same box modal over the owner window only, without an event loop of its own.
    void openQtBox(const BoxRequest& request, Done done) const;

private:
    const LangText& lang_;
};

} // namespace qorvid
