// Why a run did not produce its target.
#include "engine/run_failure.h"
#include "engine/tool_runner.h"
#include "support/test_tools.h"
#include "util/target_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>

using namespace qorvid;
using namespace qorvid::test;

TEST(RunFailure, LastMessageLineSkipsProgress)
{
    EXPECT_EQ(lastMessageLine("ZevraRes2: encoding failed (disk full)\nPos:  3.0s  75f (50%)\r\n\r\n"),
              "ZevraRes2: encoding failed (disk full)");
    EXPECT_EQ(lastMessageLine("size= 1kB time=00:00:01.00 bitrate=8\rError: gone  \nframe=  10 fps=0\r"),
              "Error: gone");
    EXPECT_EQ(lastMessageLine("Pos: 1.0s\r"), "");
}

TEST(RunFailure, OnlyACleanEndWithANewFileCounts)
{
    TempDir dir;
    const std::string target = dir.file("out.avi");
    writeFile(target, "earlier");
    const FileIdentity earlier = identityOf(target);

    RunEnd clean{true, 0, {}, {}};
    // The tool ended well but the earlier file is still all there is: nothing was produced.
    EXPECT_FALSE(runFailure(clean, target, earlier).empty());

    writeFile(dir.file("new"), "new result");
    std::rename(dir.file("new").c_str(), target.c_str());
    EXPECT_EQ(runFailure(clean, target, earlier), "");

    RunEnd killed{true, 128 + SIGKILL, {}, "Pos: 1.0s\r"};
    EXPECT_NE(runFailure(killed, target, earlier).find(strsignal(SIGKILL)), std::string::npos);
    RunEnd failed{true, 1, {}, "ZevraRes3: conversion failed (No space left on device)\n"};
    EXPECT_EQ(runFailure(failed, target, earlier), "ZevraRes3: conversion failed (No space left on device)");
    RunEnd guarded{false, 0, "/gone: No such file or directory", {}};
    EXPECT_EQ(runFailure(guarded, target, earlier), "/gone: No such file or directory");

    // A folder that went away says so before anything the tool printed.
    EXPECT_NE(runFailure(failed, dir.file("no/such/out.avi"), {}).find(strerror(ENOENT)), std::string::npos);
}
