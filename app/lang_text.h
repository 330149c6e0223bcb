#pragma once
#include "app/messages.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace qorvid {

// The message texts of the current language, indexed by message key (0 to 300).
// One instance, owned by the front end and handed to whoever shows messages.
class LangText {
public:
    static constexpr int kSize = 301;

    LangText();

    // Loads the compiled-in table named by the code ("tw", "gb", "en", any case).
    // An unknown code loads nothing and returns false; the texts stay as they were.
    bool load(std::string_view code);
    // The loading rule on a table's raw text: keys below 301 are stored, "\n" becomes CR LF,
    // keys the table does not mention keep their text.
    void loadFromText(std::string_view tableText);

    // The text of a message; "" when the table has no such line.
    const std::string& operator[](Msg key) const { return byNumber(static_cast<int>(key)); }
    // Message n by its table number, for code that walks the whole table; "" out of range.
    const std::string& byNumber(int key) const;
    // For the few texts the table has no message for: the one of the current language,
    // English for "en" and before any table, else Traditional Chinese.
    std::string_view inLanguage(std::string_view tw, std::string_view gb, std::string_view en) const
    {
        return code_ == "gb" ? gb : code_ == "tw" ? tw : en;
    }
    // The code of the last table loaded ("" before any).
    const std::string& code() const { return code_; }

private:
    std::vector<std::string> texts_;
    std::string code_;
};

// Replaces "aaa", "bbb", "ccc", ... (every occurrence of each) by the values in order.
std::string fillPlaceholders(std::string text, std::initializer_list<std::string_view> values);

} // namespace qorvid
