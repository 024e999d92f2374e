#pragma once

#include <locale.h>

// Switches the calling thread to the "C" locale for its lifetime, so that number
// text reads and writes with a decimal point whatever locale the process runs in.
class ScopedClassicLocale {
public:
    ScopedClassicLocale();
    ~ScopedClassicLocale();
    ScopedClassicLocale(const ScopedClassicLocale&) = delete;
    ScopedClassicLocale& operator=(const ScopedClassicLocale&) = delete;

    // The process-wide "C" locale object, created once.
    static locale_t Handle();

private:
    locale_t m_previous;
};
