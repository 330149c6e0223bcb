// The command-line splitter, with a file test that names some prefixes as existing files.
#include "fuzz_input.h"
#include "util/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view line = fuzzText(data, size);
    auto isFile = [](const std::string& path) { return !path.empty() && (path.size() % 3 == 0 || path.back() == 'e'); };
    qorvid::splitCommandLine(line, isFile);
    qorvid::ArgumentVector av = qorvid::splitCommandLine(line, [](const std::string&) { return false; });
    // No argument keeps a double quote: it only groups.
    for (const auto& a : av.args)
        if (a.find('"') != std::string::npos) __builtin_trap();
    qorvid::canQuote(line);
    return 0;
}
