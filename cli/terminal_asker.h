#pragma once
#include "util/reporters.h"

#include <string>

namespace qorvid::cli {

// A question that could not be asked: no terminal and no --yes. Ends the run with exit 1.
struct QuestionUnanswered {
    std::string text;
};

// Asks on the terminal; with --yes answers OK/Yes at once (the text is still shown).
class TerminalReporters;

class TerminalAsker final : public QuestionAsker {
public:
    explicit TerminalAsker(TerminalReporters& terminal) : terminal_(terminal) {}
    Answer ask(const std::string& text, Buttons buttons, bool defaultNo) override;
    bool assumeYes = false;

private:
    TerminalReporters& terminal_; // its live progress line is ended before a question
};

} // namespace qorvid::cli
