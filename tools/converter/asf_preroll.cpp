#include "converter/asf_preroll.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <vector>

namespace qorvid::tools {

namespace {
const unsigned char kHeaderObject[16] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                         0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
const unsigned char kFileProperties[16] = {0xA1, 0xDC, 0xAB, 0x8C, 0x47, 0xA9, 0xCF, 0x11,
                                           0x8E, 0xE4, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};

std::uint64_t le64(const unsigned char* p)
{
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}
} // namespace

double asfPrerollSeconds(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> head(65536);
    in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
    const size_t got = static_cast<size_t>(in.gcount());
    if (got < 30 || std::memcmp(head.data(), kHeaderObject, 16) != 0) return 0;
    // The header's sub-objects follow its 30-byte own part; the preroll is at offset 80 of
    // the file properties object, in milliseconds.
    size_t pos = 30;
    while (pos + 24 <= got) {
        const std::uint64_t size = le64(&head[pos + 16]);
        if (size < 24) return 0;
        if (std::memcmp(&head[pos], kFileProperties, 16) == 0)
            return pos + 88 <= got ? static_cast<double>(le64(&head[pos + 80])) / 1000.0 : 0;
        if (size > got - pos) return 0;
        pos += static_cast<size_t>(size);
    }
    return 0;
}

} // namespace qorvid::tools
