#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace qorvid::tools {

// The text of a subtitle file as UTF-8, decoded from the code page the system names
// ("cp950", "cp936", "cp1250", "unicode" or "" for the default). A byte-order mark wins
// over the code page; "unicode" is UTF-16 (little-endian without a mark); the default is
// UTF-8, else the Western Windows code page. std::nullopt: the bytes are UTF-8 already.
// Bytes the code page cannot decode become U+FFFD.
std::optional<std::string> subtitleAsUtf8(std::string_view bytes, const std::string& codepage);

// A subtitle file as the tools read it: the file itself when it is UTF-8, else a UTF-8
// copy in an unnamed file the tools open through our descriptor table, so that nothing
// is left behind however the run ends.
class Utf8Subtitle {
public:
    Utf8Subtitle() = default;
    Utf8Subtitle(const Utf8Subtitle&) = delete;
    Utf8Subtitle& operator=(const Utf8Subtitle&) = delete;
    ~Utf8Subtitle();

    // "" or why the file cannot be read or copied.
    std::string open(const std::string& file, const std::string& codepage);
    const std::string& path() const { return path_; }

private:
    int fd_ = -1;
    std::string path_;
};

} // namespace qorvid::tools
