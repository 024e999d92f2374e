#pragma once

#include <string>
#include <vector>

// The shortest text that reads back to the same double: "%g" when its six
// digits are enough (so 45 shows as 45 and 0.1 as 0.1), else more digits, at
// most 17. Refilling a form from its record therefore never alters a value.
std::string ShortestNumberText(double value);

// The shortest texts of equally long series, row by row: columns[0][0],
// columns[1][0], ..., columns[0][1], ... A million-row import needs three
// million of them, so every core makes a share.
std::vector<std::string>
RowMajorNumberTexts(const std::vector<const std::vector<double> *> &columns);
