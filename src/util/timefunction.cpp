#include "util/timefunction.h"

#include "util/formattext.h"

std::string CTimeFunction::GetLocalTimeText() const
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return FormatTime(local);
}

std::string CTimeFunction::FormatTime(const std::tm& time)
{
    return FormatText("%02d-%02d-%02d %02d:%02d:%02d", time.tm_year + 1900, time.tm_mon + 1,
                      time.tm_mday, time.tm_hour, time.tm_min, time.tm_sec);
}
