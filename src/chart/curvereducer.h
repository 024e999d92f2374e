#pragma once

#include <vector>

namespace OrvaneChart {

// A curve summarised in blocks of consecutive readings, so that a reduction can take
// a whole block at once where it falls in one pixel column or beyond the plot's edge.
struct CurveBlocks {
    static constexpr int kSize = 32;
    struct Block {
        double xMin, xMax;
        int xMinRow, xMaxRow, yMinRow, yMaxRow; // first rows of those extremes
        bool gap;                               // a reading without x or y
    };
    std::vector<Block> blocks; // the whole blocks from row 0; the rest stands alone
};

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
    // through xMin..xMax onto `columns` columns; readings outside that range count as
    // one column beyond each edge. The first and last readings, the
    // peak (first greatest y) and every index of keep (inside the data) are kept.
    // Readings with a missing x or y are kept too: they mark gaps in the line.
    // blocks, when given, summarises these readings and gives the same rows faster.
    static std::vector<int> Reduce(const double* x, const double* y, int count, double xMin,
                                   double xMax, int columns, const std::vector<int>& keep = {},
                                   const CurveBlocks* blocks = nullptr);
    static CurveBlocks Summarize(const double* x, const double* y, int count);
};

} // namespace OrvaneChart
