#include "app/lang_text.h"

#include "util/text.h"

#include <cmath>
#include <utility>

namespace qorvid {
namespace lang_data {
extern const std::pair<std::string_view, std::string_view> kTables[];
extern const int kTableCount;
} // namespace lang_data

namespace {
const std::string kEmpty;
}

LangText::LangText() : texts_(kSize) {}

bool LangText::load(std::string_view code)
{
    const std::string wanted = toLower(code);
    for (int i = 0; i < lang_data::kTableCount; ++i) {
        const auto& [name, text] = lang_data::kTables[i];
        if (name == wanted) {
            loadFromText(text);
            code_ = wanted;
            return true;
        }
    }
    return false;
}

void LangText::loadFromText(std::string_view tableText)
{
    size_t start = 0;
    while (start <= tableText.size()) {
        size_t end = tableText.find("\r\n", start);
        if (end == std::string_view::npos) end = tableText.size();
        std::string_view line = tableText.substr(start, end - start);
        start = end + 2;

        size_t eq = line.find('=');
        if (eq == std::string_view::npos || eq == 0) continue;
        // Only numeric keys are messages; "language" and "lng" describe the table.
        std::optional<double> key = parseNumber(toLower(line.substr(0, eq)));
        if (!key || *key < 0 || *key >= kSize || std::floor(*key) != *key) continue;
        texts_[static_cast<size_t>(*key)] = replaceAll(std::string(line.substr(eq + 1)), "\\n", "\r\n");
    }
}

const std::string& LangText::byNumber(int key) const
{
    if (key < 0 || key >= kSize) return kEmpty;
    return texts_[static_cast<size_t>(key)];
}

std::string fillPlaceholders(std::string text, std::initializer_list<std::string_view> values)
{
    // One pass, so that a value that happens to contain "bbb" is never replaced again.
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        bool replaced = false;
        size_t n = 0;
        for (std::string_view value : values) {
            const char letter = static_cast<char>('a' + n++);
            if (i + 3 <= text.size() && text[i] == letter && text[i + 1] == letter && text[i + 2] == letter) {
                out += value;
                i += 3;
                replaced = true;
                break;
            }
        }
        if (!replaced) out += text[i++];
    }
    return out;
}

} // namespace qorvid
