#include "util/command_line.h"

#include <sys/stat.h>

namespace qorvid {

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool regularFile(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Reads arguments from pos to the end.
std::vector<std::string> splitArguments(std::string_view s, size_t pos)
{
    std::vector<std::string> out;
    while (pos < s.size()) {
        while (pos < s.size() && isBlank(s[pos])) ++pos;
        if (pos >= s.size()) break;
        std::string arg;
        bool quoted = false;
        for (; pos < s.size(); ++pos) {
            char c = s[pos];
            if (c == '"')
                quoted = !quoted;
            else if (isBlank(c) && !quoted)
                break;
            else
                arg.push_back(c);
        }
        out.push_back(std::move(arg));
    }
    return out;
}
} // namespace

ArgumentVector splitCommandLine(std::string_view line, const std::function<bool(const std::string&)>& isFile)
{
    auto exists = isFile ? isFile : regularFile;
    ArgumentVector result;
    size_t pos = 0;
    while (pos < line.size() && isBlank(line[pos])) ++pos;
    if (pos >= line.size()) return result;

    if (line[pos] == '"') {
        size_t close = line.find('"', pos + 1);
        if (close == std::string_view::npos) close = line.size();
        result.program = std::string(line.substr(pos + 1, close - pos - 1));
        result.args = splitArguments(line, close + 1);
        return result;
    }

    // Unquoted: the program ends at a blank; with blanks in its folder names, the
    // longest prefix (before any quote) that names a file wins.
    size_t limit = line.find('"', pos);
    if (limit == std::string_view::npos) limit = line.size();
    size_t firstEnd = pos;
    while (firstEnd < line.size() && !isBlank(line[firstEnd])) ++firstEnd;
    size_t end = firstEnd;
    for (size_t i = limit; i > firstEnd; --i) {
        bool boundary = i == line.size() || isBlank(line[i]);
        if (boundary && !isBlank(line[i - 1]) && exists(std::string(line.substr(pos, i - pos)))) {
            end = i;
            break;
        }
    }
    result.program = std::string(line.substr(pos, end - pos));
    result.args = splitArguments(line, end);
    return result;
}

bool canQuote(std::string_view path) { return path.find('"') == std::string_view::npos; }

} // namespace qorvid
