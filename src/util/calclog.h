#pragma once

#include <ostream>
#include <string>

// The calculation log's line grammar: a heading line ("##" and a title, or a plain
// title), and formatted value blocks, each followed by one extra line break.
void WriteLogHeading(std::ostream& log, const char* heading);
void WriteLogBlock(std::ostream& log, const std::string& block);
