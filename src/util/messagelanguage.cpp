#include "util/messagelanguage.h"

#include <cstdlib>

namespace {

struct CatalogueEntry {
    const char* source;
    const char* translation;
};

#include "util/messagecatalogue.inc"

template <size_t N>
std::string_view Lookup(const CatalogueEntry (&table)[N], std::string_view line)
{
    for (const CatalogueEntry& entry : table)
        if (line == entry.source)
            return entry.translation;
    return line;
}

const char* StandardGetenv(const char* name) { return std::getenv(name); }

} // namespace

MessageLanguage MessageLanguageFromEnvironment(const char* (*getenv)(const char*))
{
    if (!getenv)
        getenv = StandardGetenv;
    const auto setting = [getenv](const char* name) {
        const char* value = getenv(name);
        return std::string_view(value ? value : "");
    };
    std::string_view locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (locale.empty())
            locale = setting(name);
    // LANGUAGE ("ko:en") goes first, but gettext ignores it under the C locale.
    if (const std::string_view list = setting("LANGUAGE");
        !list.empty() && !locale.empty() && locale != "C" && locale != "POSIX")
        locale = list;
    return locale.substr(0, 2) == "ko" ? MessageLanguage::Korean : MessageLanguage::English;
}

std::string TranslateMessage(std::string_view text, MessageLanguage language)
{
    std::string translated;
    translated.reserve(text.size());
    for (size_t start = 0;;) {
        const size_t end = text.find('\n', start);
        const std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
        translated += language == MessageLanguage::Korean ? Lookup(kKorean, line) : Lookup(kEnglish, line);
        if (end == std::string_view::npos)
            break;
        translated += '\n';
        start = end + 1;
    }
    return translated;
}
