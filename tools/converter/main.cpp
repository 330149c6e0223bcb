// ZevraRes3: the converter. Runs FFmpeg with the system's arguments (old encoder names and
// "-vol" brought up to date) and rewrites its console output where the system relies on the
// older wording. A failed conversion leaves no target behind.
#include "common/child_process.h"
#include "common/output_relay.h"
#include "converter/asf_preroll.h"
#include "converter/converter_arguments.h"
#include "converter/converter_output.h"

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

using namespace qorvid::tools;

namespace {

struct FileStamp {
    bool exists = false;
    struct stat st {};
};

FileStamp stampOf(const std::string& path)
{
    FileStamp s;
    s.exists = !path.empty() && stat(path.c_str(), &s.st) == 0;
    return s;
}

bool changed(const FileStamp& before, const FileStamp& after)
{
    if (!after.exists) return false;
    if (!before.exists) return true;
    return before.st.st_ino != after.st.st_ino || before.st.st_size != after.st.st_size ||
           before.st.st_mtim.tv_sec != after.st.st_mtim.tv_sec ||
           before.st.st_mtim.tv_nsec != after.st.st_mtim.tv_nsec;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    ChildProcess::Setup setup;
    setup.program = "ffmpeg";
    setup.argv.push_back("ffmpeg");
    for (auto& a : converterArguments(args)) setup.argv.push_back(a);
    setup.errors = ChildProcess::Errors::Pipe;

    std::string target = converterTarget(args);
    FileStamp before = stampOf(target);

    ChildProcess ffmpeg;
    if (!ffmpeg.start(setup)) {
        std::fprintf(stderr, "ZevraRes3: %s\n", ffmpeg.error().c_str());
        return 1;
    }
    forwardSignalsTo(ffmpeg.pid());
    ConverterOutputRewriter rewriter(asfPrerollSeconds(converterInput(args)));
    relayLines(ffmpeg.errorFd(), STDERR_FILENO, rewriter);
    int status = ffmpeg.wait();
    if (status != 0 && changed(before, stampOf(target))) {
        unlink(target.c_str());
        std::fprintf(stderr, "ZevraRes3: conversion failed, removed the unfinished target %s\n",
                     target.c_str());
    }
    exitLike(status);
}
