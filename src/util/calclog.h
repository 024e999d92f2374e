#pragma once

#include <ostream>
#include <string>
#include <vector>

// The calculation log's line grammar: a heading line ("##" and a title, or a plain
// title), and formatted value blocks, each followed by one extra line break.
void WriteLogHeading(std::ostream& log, const char* heading);
void WriteLogBlock(std::ostream& log, const std::string& block);
// A run's log as its file holds it: its blocks one after another.
std::string JoinLogBlocks(const std::vector<std::string>& blocks);
