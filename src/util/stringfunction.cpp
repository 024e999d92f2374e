#include "util/stringfunction.h"

bool CStringFunction::IsDigitString(std::string_view text) const
{
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}
