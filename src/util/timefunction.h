#pragma once

#include <ctime>
#include <string>

class CTimeFunction {
public:
    virtual ~CTimeFunction() = default;

    // The current local time as "YYYY-MM-DD hh:mm:ss".
    std::string GetLocalTimeText() const;

    static std::string FormatTime(const std::tm& time);
};
