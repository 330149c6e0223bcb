#pragma once
#include <string>

namespace qorvid {

class LangText;
class MessageSink;
struct JobState;

// Whether a chosen path can be a source at all: a readable regular file of non-zero length
// whose name the command line can carry (no FIFO, device, socket or folder). Otherwise shows
// message 010 with the path. Never waits on the file.
bool acceptSourceFile(const std::string& path, MessageSink& messages, const LangText& lang);

// Whether the probed source can be converted: it exists (else message 001) and the probe
// found a length or a frame rate (else message 031 with the path). quiet shows nothing.
bool checkSource(const std::string& path, const JobState& job, bool quiet, MessageSink& messages,
                 const LangText& lang);

} // namespace qorvid
