#include "util/formattext.h"

#include "util/scopedclassiclocale.h"

#include <cstdarg>
#include <cstdio>

ScopedClassicLocale::ScopedClassicLocale() : m_previous(uselocale(Handle())) {}

ScopedClassicLocale::~ScopedClassicLocale() { uselocale(m_previous); }

locale_t ScopedClassicLocale::Handle()
{
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return classic;
}

std::string FormatText(const char* format, ...)
{
    ScopedClassicLocale classic;
    char small[256];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    std::string text;
    if (length < 0) {
        va_end(again);
        return text;
    }
    if (static_cast<size_t>(length) < sizeof small) {
        text.assign(small, static_cast<size_t>(length));
    } else {
        text.resize(static_cast<size_t>(length));
        std::vsnprintf(text.data(), text.size() + 1, format, again);
    }
    va_end(again);
    return text;
}
