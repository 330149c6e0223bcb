#include "cli/terminal_reporters.h"

#include "util/clock.h"
#include "util/text.h"

#include <cstdio>
#include <unistd.h>

namespace qorvid::cli {

TerminalReporters::TerminalReporters() : live_(isatty(STDERR_FILENO) != 0) {}

void TerminalReporters::showMessage(const std::string& text)
{
    finishLine();
    std::fprintf(stderr, "%s\n", toUnixLines(text).c_str());
    std::fflush(stderr);
}

void TerminalReporters::setProgressNote(float, const std::string& caption, bool)
{
    caption_ = caption;
    redraw();
}

void TerminalReporters::setEstimateNote(const std::string& text)
{
    estimate_ = text;
    redraw();
}

void TerminalReporters::setCpuNote(const std::string& text)
{
    cpu_ = text;
    redraw();
}

void TerminalReporters::letEventsRun()
{
    if (eachTurn) eachTurn();
    if (!everySecond) return;
    std::int64_t now = systemClock().nowMs();
    if (now - lastTick_ < 1000) return;
    lastTick_ = now;
    everySecond();
}

void TerminalReporters::redraw()
{
    if (!live_) return;
    std::string line = caption_;
    if (!estimate_.empty()) line += "  |  " + estimate_;
    if (!cpu_.empty()) line += "  |  " + cpu_;
    std::fprintf(stderr, "\r\033[K%s", line.c_str());
    std::fflush(stderr);
    drawn_ = true;
}

void TerminalReporters::finishLine()
{
    if (drawn_) std::fputc('\n', stderr);
    drawn_ = false;
}

} // namespace qorvid::cli
