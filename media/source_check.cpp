#include "media/source_check.h"

#include "app/lang_text.h"
#include "media/job_state.h"
#include "util/command_line.h"
#include "util/reporters.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qorvid {

namespace {
std::string aboutFile(const std::string& text, const std::string& path) { return text + "\r\n\r\n" + path; }
} // namespace

bool acceptSourceFile(const std::string& path, MessageSink& messages, const LangText& lang)
{
    bool ok = canQuote(path);
    struct stat st {};
    // Only a regular file: opening a FIFO waits for a writer, and a device or socket has no
    // length. Non-blocking, so that a file swapped for a FIFO meanwhile cannot hold us either.
    if (ok) ok = ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    if (ok) {
        int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        ok = fd >= 0 && fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
        if (fd >= 0) ::close(fd);
    }
    if (!ok) messages.showMessage(aboutFile(lang[Msg::InvalidFileName], path));
    return ok;
}

bool checkSource(const std::string& path, const JobState& job, bool quiet, MessageSink& messages,
                 const LangText& lang)
{
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) {
        if (!quiet) messages.showMessage(lang[Msg::ChooseSourceFirst]);
        return false;
    }
    if (job.srcLength == 0 && job.srcFps == 0) {
        if (!quiet) messages.showMessage(aboutFile(lang[Msg::CannotAnalyseSource], path));
        return false;
    }
    return true;
}

} // namespace qorvid
