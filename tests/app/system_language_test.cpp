#include "app/system_language.h"

#include <gtest/gtest.h>

#include <cstdlib>

using qorvid::languageForLocale;

TEST(SystemLanguage, LocaleDecidesTheCode)
{
    for (const char* gb : {"zh_CN.UTF-8", "zh_CN", "zh_SG.GBK", "zh_cn.utf8", "zh-CN"})
        EXPECT_EQ(languageForLocale(gb), "gb") << gb;
    for (const char* tw : {"zh_TW.UTF-8", "zh_TW.Big5", "zh_HK.UTF-8", "zh_MO", "zh_TW@euro"})
        EXPECT_EQ(languageForLocale(tw), "tw") << tw;
    for (const char* en : {"", "C", "POSIX", "en_US.UTF-8", "zh", "zh_CNX", "de_DE.UTF-8", "ja_JP"})
        EXPECT_EQ(languageForLocale(en), "en") << en;
}

TEST(SystemLanguage, LcAllThenLcMessagesThenLang)
{
    auto keep = [](const char* name) {
        const char* v = std::getenv(name);
        return std::pair<std::string, bool>(v ? v : "", v != nullptr);
    };
    const auto all = keep("LC_ALL"), messages = keep("LC_MESSAGES"), lang = keep("LANG");

    setenv("LANG", "zh_TW.UTF-8", 1);
    setenv("LC_MESSAGES", "zh_CN.UTF-8", 1);
    setenv("LC_ALL", "", 1); // set but empty: not used
    EXPECT_EQ(qorvid::systemLanguage(), "gb");
    unsetenv("LC_MESSAGES");
    EXPECT_EQ(qorvid::systemLanguage(), "tw");
    setenv("LC_ALL", "en_GB.UTF-8", 1);
    EXPECT_EQ(qorvid::systemLanguage(), "en");

    auto restore = [](const char* name, const std::pair<std::string, bool>& v) {
        if (v.second) setenv(name, v.first.c_str(), 1); else unsetenv(name);
    };
    restore("LC_ALL", all);
    restore("LC_MESSAGES", messages);
    restore("LANG", lang);
}
