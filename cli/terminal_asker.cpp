#include "cli/terminal_asker.h"

#include "cli/terminal_reporters.h"
#include "util/text.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace qorvid::cli {

namespace {

const char* choicesOf(Buttons b)
{
    switch (b) {
    case Buttons::Ok: return "[Enter]";
    case Buttons::OkCancel: return "[o]k / [c]ancel";
    case Buttons::YesNo: return "[y]es / [n]o";
    case Buttons::YesNoCancel: return "[y]es / [n]o / [c]ancel";
    }
    return "";
}

// One answer from the letters offered; nullopt for anything else.
std::optional<Answer> readAnswer(char c, Buttons b)
{
    c = static_cast<char>(c | 0x20);
    const bool okButtons = b == Buttons::Ok || b == Buttons::OkCancel;
    if (okButtons && c == 'o') return Answer::Ok;
    if (!okButtons && c == 'y') return Answer::Yes;
    if (!okButtons && c == 'n') return Answer::No;
    if (b != Buttons::Ok && b != Buttons::YesNo && c == 'c') return Answer::Cancel;
    return std::nullopt;
}

} // namespace

Answer TerminalAsker::ask(const std::string& text, Buttons buttons, bool defaultNo)
{
    const Answer yes = buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
    terminal_.finishLine();
    std::fprintf(stderr, "%s\n", toUnixLines(text).c_str());
    if (assumeYes || buttons == Buttons::Ok) {
        std::fflush(stderr);
        return yes;
    }
    int tty = ::open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (tty < 0 || !isatty(STDIN_FILENO)) {
        if (tty >= 0) ::close(tty);
        throw QuestionUnanswered{text};
    }
    const Answer fallback = buttons == Buttons::YesNo ? (defaultNo ? Answer::No : Answer::Yes) : Answer::Cancel;
    for (;;) {
        std::string prompt = std::string(choicesOf(buttons)) + "? ";
        ssize_t ignored = ::write(tty, prompt.data(), prompt.size());
        (void)ignored;
        char line[64];
        ssize_t n = ::read(tty, line, sizeof line - 1);
        if (n <= 0) {
            // Ctrl-C or end of input: the cautious answer.
            ::close(tty);
            return fallback;
        }
        for (ssize_t i = 0; i < n; ++i) {
            if (line[i] == ' ' || line[i] == '\t') continue;
            if (auto a = readAnswer(line[i], buttons)) {
                ::close(tty);
                return *a;
            }
            break;
        }
    }
}

} // namespace qorvid::cli
