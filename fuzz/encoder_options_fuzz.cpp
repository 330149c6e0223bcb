// The encoder plugin's command-line reader, every "-xxxopts" sub-option list included.
#include "encoder/encode_options.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // NUL separates the arguments.
    const std::vector<std::string> args = fuzzFields(data, size, 64);
    qorvid::tools::parseEncoderArguments(args);
    for (const auto& a : args) {
        qorvid::tools::SubOptions sub = qorvid::tools::parseSubOptions(a);
        qorvid::tools::findSubOption(sub, "vcodec");
        qorvid::tools::parseTime(a);
        qorvid::tools::parseNumber(a);
    }
    return 0;
}
