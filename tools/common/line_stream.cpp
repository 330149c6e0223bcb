#include "common/line_stream.h"

namespace qorvid::tools {

std::vector<std::string> LineStream::takeLines()
{
    std::vector<std::string> lines;
    size_t begin = 0;
    for (size_t i = 0; i < pending_.size(); ++i) {
        if (pending_[i] == '\n' || pending_[i] == '\r') {
            lines.emplace_back(pending_, begin, i + 1 - begin);
            begin = i + 1;
        }
    }
    pending_.erase(0, begin);
    return lines;
}

std::string LineStream::takeRest()
{
    std::string rest;
    rest.swap(pending_);
    return rest;
}

std::string_view lineText(std::string_view line)
{
    if (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    return line;
}

std::string_view lineEnd(std::string_view line)
{
    return line.substr(lineText(line).size());
}

} // namespace qorvid::tools
