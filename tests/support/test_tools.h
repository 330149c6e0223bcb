#pragma once
#include "util/subprocess.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// Helpers shared by the tests: scratch folders, running real programs, making media.
namespace qorvid::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; } // ends in "/"
    std::string file(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

struct RunResult {
    int exitCode = -1;
    std::string output; // standard output and standard error together
    bool hung = false;  // killed by the guard of runProgram
};

// Starts argv[0] (looked up in PATH) with the arguments, no shell; by default its output and
// standard error go together to a pipe and its input comes from one.
bool startProgram(Subprocess& child, const std::vector<std::string>& argv, Subprocess::Output output = Subprocess::Output::Pipe,
                  Subprocess::Input input = Subprocess::Input::Pipe);

// Runs argv[0] (looked up in PATH) with the arguments, no shell, and waits for it. With a guard,
// for a program that might never end, it is killed after guardSeconds and the result says so
// (a guard against a hang, not a measured wait).
RunResult runProgram(const std::vector<std::string>& argv, int guardSeconds = 0);

// Runs ffmpeg -y -hide_banner -loglevel error <args>; fails the current test when it fails.
void ffmpeg(const std::vector<std::string>& args);

// A file made by ffmpeg from lavfi sources: a picture ("testsrc2=...") and a sound ("sine=..."),
// either "" for none, then the output options.
void makeMedia(const std::string& path, const std::string& picture, const std::string& sound,
               std::vector<std::string> options = {});

// A suite whose media, made once in its SetUpTestSuite, lives in dir until the suite ends.
template <class Suite>
class MediaSuite : public ::testing::Test {
protected:
    static void TearDownTestSuite() { dir.reset(); }
    static inline std::unique_ptr<TempDir> dir;
};

// The value of "key=" in ffprobe's default output, "" when absent.
std::string ffprobeValue(const std::string& file, const std::string& streamSpec,
                         const std::string& entry);

void writeFile(const std::string& path, const std::string& bytes);
// An executable shell script of the body, standing in for a program; returns the path.
std::string writeScript(const std::string& path, const std::string& body);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);

// The build's folders (program folder with plugins/, and the test data folder).
std::string buildDir();  // ends in "/"
std::string sourceDir(); // ends in "/"

// Sets (or, with nullptr, unsets) environment variables for one scope; the old values come back.
class ScopedEnv {
public:
    ScopedEnv() = default;
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    void set(const std::string& name, const char* value);

private:
    struct Saved {
        std::string name, value;
        bool wasSet;
    };
    std::vector<Saved> saved_;
};

// Process ids of the current user's processes whose command line contains the text.
std::vector<int> processesMatching(const std::string& text);

} // namespace qorvid::test
