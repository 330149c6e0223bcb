#include "app/lang_text.h"
#include "media/source_check.h"
#include "support/fakes.h"
#include "support/lang.h"
#include "support/test_tools.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <future>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace qorvid;
using namespace qorvid::test;

namespace {

// A listening socket bound to the path; closed (the path stays) when the test ends.
struct BoundSocket {
    explicit BoundSocket(const std::string& path)
    {
        fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        path.copy(addr.sun_path, sizeof addr.sun_path - 1);
        bound = fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    }
    ~BoundSocket()
    {
        if (fd >= 0) close(fd);
    }
    int fd = -1;
    bool bound = false;
};

// acceptSourceFile on a path that might hold it: a reader stuck on a FIFO is let go by opening
// its other end, so that a failure shows as a failure and not as a hung test.
bool acceptGuarded(const std::string& path, RecordingReporters& ui)
{
    auto verdict = std::async(std::launch::async, [&] { return acceptSourceFile(path, ui, tw()); });
    if (verdict.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        ADD_FAILURE() << "acceptSourceFile waits on " << path;
        int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) close(fd);
    }
    return verdict.get();
}

} // namespace

TEST(AcceptSourceFile, OnlyAReadableRegularFileWithContent)
{
    TempDir dir;
    writeFile(dir.file("clip.avi"), "RIFF....AVI ");
    writeFile(dir.file("empty.avi"), "");
    ASSERT_EQ(mkfifo(dir.file("pipe.avi").c_str(), 0600), 0);
    BoundSocket sock(dir.file("sock.avi"));
    ASSERT_TRUE(sock.bound);
    symlink(dir.file("clip.avi").c_str(), dir.file("link.avi").c_str());
    symlink(dir.file("pipe.avi").c_str(), dir.file("link to pipe.avi").c_str());

    struct Case {
        std::string path;
        bool accepted;
    };
    for (const Case& c : std::vector<Case>{{dir.file("clip.avi"), true},
                                           {dir.file("link.avi"), true},
                                           {dir.file("empty.avi"), false},
                                           {dir.file("pipe.avi"), false},
                                           {dir.file("link to pipe.avi"), false},
                                           {dir.file("sock.avi"), false},
                                           {dir.path(), false},
                                           {"/dev/null", false},
                                           {dir.file("missing.avi"), false}}) {
        SCOPED_TRACE(c.path);
        RecordingReporters ui;
        EXPECT_EQ(acceptGuarded(c.path, ui), c.accepted);
        if (c.accepted)
            EXPECT_TRUE(ui.messages.empty());
        else
            EXPECT_EQ(ui.messages, std::vector<std::string>{tw()[Msg::InvalidFileName] + "\r\n\r\n" + c.path});
    }
}
