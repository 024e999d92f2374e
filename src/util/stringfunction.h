#pragma once

#include <string_view>

class CStringFunction {
public:
    virtual ~CStringFunction() = default;

    // True when every byte is an ASCII digit; true for an empty text. Any byte of a
    // multi-byte UTF-8 character is not a digit.
    bool IsDigitString(std::string_view text) const;
};
