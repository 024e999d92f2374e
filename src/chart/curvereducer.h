#pragma once

#include <vector>

namespace OrvaneChart {

// Reduces a curve of many readings to what the screen can show: for each pixel
// column the curve passes through, in row order, the first, last, lowest and highest
// readings. A curve that goes back and forth in x passes through a column more than
// once and keeps each pass, so its row order survives; where it turns back within a
// column its leftmost or rightmost reading is kept too. The column a reading belongs
// to has half a pixel of hysteresis, so x noise across a column boundary does not
// break the readings into many tiny passes. About four readings per column remain,
// and the line drawn through them covers the same pixels as the full one.
class CurveReducer {
public:
    // Row indices (ascending) of the readings to draw. x maps to pixel columns
    // through xMin..xMax onto `columns` columns. The first and last readings, the
    // peak (first greatest y) and every index of keep (inside the data) are kept.
    // Readings with a missing x or y are kept too: they mark gaps in the line.
    static std::vector<int> Reduce(const double* x, const double* y, int count, double xMin,
                                   double xMax, int columns, const std::vector<int>& keep = {});
};

} // namespace OrvaneChart
