#include "files/program_language.h"

#include <QProcessEnvironment>

#include <gtest/gtest.h>

using namespace yalmera::files;

TEST(ProgramLanguage, TakenFromTheEnvironmentAsGettextTakesIt)
{
    constexpr auto Russian = ProgramLanguage::Russian;
    constexpr auto English = ProgramLanguage::English;
    const struct
    {
        const char* language; // LANGUAGE; null: not set
        const char* all;      // LC_ALL
        const char* messages; // LC_MESSAGES
        const char* lang;     // LANG
        ProgramLanguage expected;
    } cases[] = {
        {nullptr, nullptr, nullptr, nullptr, English},
        {nullptr, nullptr, nullptr, "ru_RU.UTF-8", Russian},
        {nullptr, nullptr, nullptr, "ru_UA", Russian},
        {nullptr, nullptr, nullptr, "uk_UA.UTF-8", English},
        {nullptr, nullptr, "ru_RU.UTF-8", "en_US.UTF-8", Russian},
        {nullptr, nullptr, "en_US.UTF-8", "ru_RU.UTF-8", English},
        {nullptr, "ru_RU.UTF-8", "en_US.UTF-8", "en_US.UTF-8", Russian},
        {nullptr, "en_US.UTF-8", "ru_RU.UTF-8", "ru_RU.UTF-8", English},
        {nullptr, "", "ru_RU.UTF-8", "en_US.UTF-8", Russian}, // set but empty: not set
        // LANGUAGE first, its first language the programs speak deciding.
        {"ru", nullptr, nullptr, "en_US.UTF-8", Russian},
        {"en_GB:ru", nullptr, nullptr, "ru_RU.UTF-8", English},
        {"de:ru_RU:en", "en_US.UTF-8", nullptr, nullptr, Russian},
        {"de:fr", nullptr, nullptr, "ru_RU.UTF-8", Russian},
        {"de::fr", nullptr, nullptr, "en_US.UTF-8", English},
        {"", nullptr, nullptr, "ru_RU.UTF-8", Russian},
        {"C:ru", nullptr, nullptr, "ru_RU.UTF-8", English},
        // The C locale ignores LANGUAGE.
        {"ru", nullptr, nullptr, nullptr, English},
        {"ru", nullptr, nullptr, "C", English},
        {"ru", "C.UTF-8", nullptr, "ru_RU.UTF-8", English},
        {"ru", nullptr, "POSIX", "ru_RU.UTF-8", English},
    };
    for (const auto& c : cases) {
        QProcessEnvironment environment;
        for (const auto& [name, value] : {std::pair{"LANGUAGE", c.language},
                                          {"LC_ALL", c.all},
                                          {"LC_MESSAGES", c.messages},
                                          {"LANG", c.lang}}) {
            if (value)
                environment.insert(QString::fromLatin1(name), QString::fromLatin1(value));
        }
        EXPECT_EQ(messageLanguage(environment), c.expected)
            << environment.toStringList().join(u' ').toStdString();
    }
    // Windows gives the user's display languages in their order.
    EXPECT_EQ(firstKnownLanguage({QStringLiteral("de-DE"), QStringLiteral("ru-RU"), QStringLiteral("en-US")}),
              Russian);
    EXPECT_EQ(firstKnownLanguage({QStringLiteral("en-US"), QStringLiteral("ru-RU")}), English);
}
