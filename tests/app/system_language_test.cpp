#include "app/system_language.h"

#include "support/test_tools.h"

#include <gtest/gtest.h>

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
    qorvid::test::ScopedEnv env;
    env.set("LANG", "zh_TW.UTF-8");
    env.set("LC_MESSAGES", "zh_CN.UTF-8");
    env.set("LC_ALL", ""); // set but empty: not used
    EXPECT_EQ(qorvid::systemLanguage(), "gb");
    env.set("LC_MESSAGES", nullptr);
    EXPECT_EQ(qorvid::systemLanguage(), "tw");
    env.set("LC_ALL", "en_GB.UTF-8");
    EXPECT_EQ(qorvid::systemLanguage(), "en");
    env.set("LC_ALL", nullptr);
    env.set("LANG", nullptr);
    EXPECT_EQ(qorvid::systemLanguage(), "en"); // nothing set at all
}
