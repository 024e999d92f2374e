#include "util/calclog.h"

void WriteLogHeading(std::ostream& log, const char* heading) { log << heading << '\n'; }

void WriteLogBlock(std::ostream& log, const std::string& block) { log << block << '\n'; }

std::string JoinLogBlocks(const std::vector<std::string>& blocks)
{
    std::string text;
    for (const auto& block : blocks)
        text += block;
    return text;
}
