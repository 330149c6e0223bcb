// qorvid-cli: the headless front end over the same core as the desktop program.
#include "cli/convert_options.h"
#include "cli/core_setup.h"
#include "cli/convert_command.h"
#include "cli/probe_command.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

void usage()
{
    std::fprintf(stderr,
                 "usage: qorvid-cli COMMAND [options]\n"
                 "  probe FILE [--lang tw|gb|en]   analyse a media file and print what was found\n"
                 "  targets                        list the conversion targets\n"
                 "  convert FILE --to KEY [...]    convert (see `qorvid-cli convert --help`)\n"
                 "  --version                      print the version\n"
                 "  --lang tw|gb|en                messages in this language (any command); without it\n"
                 "                                 the locale decides: LC_ALL, else LC_MESSAGES, else LANG\n");
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        usage();
        return 2;
    }
    if (args[0] == "--version") {
        std::printf("%s\n", QORVID_VERSION);
        return 0;
    }
    // --lang is common to every command; "--" ends the options so that file names may begin with "-".
    std::string language;
    std::vector<std::string> rest;
    bool optionsEnded = false;
    for (size_t i = 1; i < args.size(); ++i) {
        if (!optionsEnded && args[i] == "--") {
            optionsEnded = true;
            rest.push_back(args[i]); // the command needs it too: file names may begin with "-"
        } else if (!optionsEnded && args[i] == "--lang") {
            if (i + 1 >= args.size()) {
                usage();
                return 2;
            }
            language = args[++i];
        } else if (!optionsEnded && args[i].rfind("--lang=", 0) == 0) {
            language = args[i].substr(7);
        } else {
            rest.push_back(args[i]);
        }
    }
    if (!language.empty() && language != "tw" && language != "gb" && language != "en") {
        std::fprintf(stderr, "qorvid-cli: unknown language '%s' (tw, gb or en)\n", language.c_str());
        return 2;
    }

    qorvid::cli::CoreSetup core(language);
    if (args[0] == "probe") return qorvid::cli::runProbe(core, rest);
    if (args[0] == "targets") return qorvid::cli::runTargets(core);
    if (args[0] == "convert") {
        for (const auto& w : rest)
            if (w == "--help" || w == "-h") {
                std::fputs(qorvid::cli::convertUsage(), stdout);
                return 0;
            }
        return qorvid::cli::runConvert(core, rest);
    }
    usage();
    return 2;
}
