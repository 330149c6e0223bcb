#pragma once
#include "support/test_tools.h"

#include <map>
#include <string>
#include <vector>

// Helpers for the plugin tests: the plugins' paths, command lines as the system writes them,
// and reading results back from media files.
namespace qorvid::test {

// buildDir() + "plugins/ZevraResN.exe".
std::string pluginPath(int number);

// A command line split the way the program's process layer splits it: blanks separate,
// double quotes group and are removed.
std::vector<std::string> splitCommandLine(const std::string& commandLine);

// Runs a command line written as the system writes it.
RunResult runCommandLine(const std::string& commandLine);

// The numbers after each "marker" up to "end" in the text ("Pos:" ... "s ").
std::vector<double> numbersAfter(const std::string& text, const std::string& marker,
                                 const std::string& end);

// What ffprobe says about a file: format entries and those of its first picture and first
// sound stream, read in one run.
struct MediaFacts {
    std::map<std::string, std::string> format, video, audio;
};
MediaFacts probeFacts(const std::string& file);

// One picture of the file at the time, as w*h grey bytes.
std::string greyFrame(const std::string& file, double seconds, int w, int h);
// Mean loudness in dB of the file's sound (volumedetect).
double meanVolume(const std::string& file);
// The time at which the first sound louder than -30 dB starts (silencedetect), -1 when none.
double firstSoundStart(const std::string& file);
// Per-packet checksums of the first picture stream, without timestamps.
std::vector<std::string> videoPacketHashes(const std::string& file);
// Whether the picture packets of "part" are a run of consecutive packets of "whole".
bool isRunOf(const std::vector<std::string>& part, const std::vector<std::string>& whole);

} // namespace qorvid::test
