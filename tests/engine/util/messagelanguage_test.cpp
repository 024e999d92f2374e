// The user's language from the environment, and the engine's messages in it: the
// table the command-line calculator uses is made from the desktop program's
// translation files.
#include "doc/messages.h"
#include "util/messagelanguage.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

std::map<std::string, std::string> g_environment;

const char* Lookup(const char* name)
{
    const auto found = g_environment.find(name);
    return found == g_environment.end() ? nullptr : found->second.c_str();
}

bool HasHangul(const std::string& text)
{
    // Hangul syllables are U+AC00 to U+D7A3: lead bytes 0xEA to 0xED in UTF-8.
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0xEA && static_cast<unsigned char>(c) <= 0xED)
            return true;
    return false;
}

} // namespace

TEST(MessageLanguage, ChosenAsGettextChoosesIt)
{
    const struct {
        std::map<std::string, std::string> environment;
        MessageLanguage language;
    } cases[] = {
        {{}, MessageLanguage::English},
        {{{"LANG", "ko_KR.UTF-8"}}, MessageLanguage::Korean},
        {{{"LANG", "de_DE.UTF-8"}}, MessageLanguage::English},
        {{{"LANG", "ko_KR.UTF-8"}, {"LC_ALL", "en_US.UTF-8"}}, MessageLanguage::English},
        {{{"LANG", "en_US.UTF-8"}, {"LC_MESSAGES", "ko_KR.UTF-8"}}, MessageLanguage::Korean},
        {{{"LANG", "en_US.UTF-8"}, {"LANGUAGE", "ko:en"}}, MessageLanguage::Korean},
        {{{"LANG", "C"}, {"LANGUAGE", "ko"}}, MessageLanguage::English},
    };
    for (const auto& c : cases) {
        g_environment = c.environment;
        EXPECT_EQ(MessageLanguageFromEnvironment(Lookup), c.language) << testing::PrintToString(c.environment);
    }
}

TEST(MessageLanguage, EveryMessageLineIsTranslatedAndPlacesAreKept)
{
    for (const char* message : msg::kAll) {
        const std::string english = TranslateMessage(message, MessageLanguage::English);
        EXPECT_FALSE(english.empty() || HasHangul(english)) << message << " -> " << english;
        EXPECT_TRUE(HasHangul(TranslateMessage(message, MessageLanguage::Korean))) << message;
    }
    const std::string place = "Experimental Lamina #2, row 5, Stress: \"abc\"";
    const std::string message = std::string(msg::kNotANumber) + "\n" + place;
    EXPECT_EQ(TranslateMessage(message, MessageLanguage::English), "Some readings are not numbers.\n" + place);
    // The Korean text loses the stray digits the original left on it.
    EXPECT_EQ(TranslateMessage(message, MessageLanguage::Korean), "실수가 아닌 데이터가 있습니다\n" + place);
    EXPECT_EQ(TranslateMessage("", MessageLanguage::English), "");
}
