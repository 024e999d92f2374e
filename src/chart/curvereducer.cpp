#include "chart/curvereducer.h"

#include "chart/chartdefs.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>

namespace OrvaneChart {

namespace {

// How far past its column a reading may stray before it starts the next column.
constexpr double kHysteresis = 0.5;

// One pass of the curve through a pixel column.
struct Pass {
    int column = 0;
    int first = -1;
    int last = -1;
    int lowest = -1;
    int highest = -1;
    int leftmost = -1;
    int rightmost = -1;
    double firstPixel = 0;
    double lastPixel = 0;
    double leftPixel = 0;
    double rightPixel = 0;

    bool empty() const { return first < 0; }

    void start(int row, double pixel)
    {
        column = static_cast<int>(std::floor(pixel));
        first = last = lowest = highest = leftmost = rightmost = row;
        firstPixel = lastPixel = leftPixel = rightPixel = pixel;
    }

    void add(int row, double pixel, const double* y)
    {
        last = row;
        lastPixel = pixel;
        if (y[row] < y[lowest])
            lowest = row;
        if (y[row] > y[highest])
            highest = row;
        if (pixel < leftPixel) {
            leftmost = row;
            leftPixel = pixel;
        }
        if (pixel > rightPixel) {
            rightmost = row;
            rightPixel = pixel;
        }
    }

    // The same as adding each reading of the block, whose pixels run from lowPixel to
    // highPixel, all inside this column.
    void addBlock(const CurveBlocks::Block& block, int lastRow, double lowPixel, double highPixel,
                  double lastRowPixel, const double* y)
    {
        last = lastRow;
        lastPixel = lastRowPixel;
        if (y[block.yMinRow] < y[lowest])
            lowest = block.yMinRow;
        if (y[block.yMaxRow] > y[highest])
            highest = block.yMaxRow;
        if (lowPixel < leftPixel) {
            leftmost = block.xMinRow;
            leftPixel = lowPixel;
        }
        if (highPixel > rightPixel) {
            rightmost = block.xMaxRow;
            rightPixel = highPixel;
        }
    }

    void flush(std::vector<int>& out) const
    {
        if (empty())
            return;
        // The x extremes count only where the curve turned back inside the column;
        // otherwise the first and last readings mark them to within the noise.
        const bool turnedRight = rightPixel > std::max(firstPixel, lastPixel) + kHysteresis;
        const bool turnedLeft = leftPixel < std::min(firstPixel, lastPixel) - kHysteresis;
        std::array<int, 6> rows{first,
                                lowest,
                                highest,
                                last,
                                turnedLeft ? leftmost : first,
                                turnedRight ? rightmost : first};
        std::sort(rows.begin(), rows.end());
        int previous = -1;
        for (const int row : rows) {
            if (row != previous)
                out.push_back(row);
            previous = row;
        }
    }
};

} // namespace

CurveBlocks CurveReducer::Summarize(const double* x, const double* y, int count)
{
    CurveBlocks summary;
    constexpr int size = CurveBlocks::kSize;
    summary.blocks.reserve(static_cast<size_t>(std::max(0, count / size)));
    for (int start = 0; start + size <= count; start += size) {
        CurveBlocks::Block b{x[start], x[start], start, start, start, start, false};
        for (int i = start; i < start + size; ++i) {
            if (IsNoValue(x[i]) || IsNoValue(y[i])) {
                b.gap = true;
                break;
            }
            if (x[i] < b.xMin)
                b.xMin = x[i], b.xMinRow = i;
            if (x[i] > b.xMax)
                b.xMax = x[i], b.xMaxRow = i;
            if (y[i] < y[b.yMinRow])
                b.yMinRow = i;
            if (y[i] > y[b.yMaxRow])
                b.yMaxRow = i;
        }
        summary.blocks.push_back(b);
    }
    return summary;
}

std::vector<int> CurveReducer::Reduce(const double* x, const double* y, int count, double xMin,
                                      double xMax, int columns, const std::vector<int>& keep,
                                      const CurveBlocks* blocks)
{
    std::vector<int> out;
    if (count <= 0)
        return out;
    columns = std::max(1, columns);
    const double span = xMax - xMin;
    const double scale = span > 0 ? columns / span : 0;
    // Readings beyond either edge of a zoomed plot share one column there: they
    // are not seen, only the lines from them into the plot are.
    const auto pixelOf = [&](double value) { return std::clamp((value - xMin) * scale, -2.0, columns + 2.0); };
    const size_t blockCount = blocks ? blocks->blocks.size() : 0;

    out.reserve(static_cast<size_t>(std::min(count, columns * 4 + 16)));
    Pass pass;
    int peak = -1;
    for (int i = 0; i < count; ++i) {
        if (i % CurveBlocks::kSize == 0 && !pass.empty() && static_cast<size_t>(i / CurveBlocks::kSize) < blockCount) {
            const CurveBlocks::Block& block = blocks->blocks[static_cast<size_t>(i / CurveBlocks::kSize)];
            const double low = pixelOf(block.xMin), high = pixelOf(block.xMax);
            if (!block.gap && low >= pass.column - kHysteresis && high < pass.column + 1 + kHysteresis) {
                const int lastRow = i + CurveBlocks::kSize - 1;
                pass.addBlock(block, lastRow, low, high, pixelOf(x[lastRow]), y);
                if (y[block.yMaxRow] > y[peak])
                    peak = block.yMaxRow;
                i = lastRow;
                continue;
            }
        }
        if (IsNoValue(x[i]) || IsNoValue(y[i])) {
            pass.flush(out);
            pass = Pass();
            out.push_back(i);
            continue;
        }
        if (peak < 0 || y[i] > y[peak])
            peak = i;
        const double pixel = pixelOf(x[i]);
        if (pass.empty()) {
            pass.start(i, pixel);
        } else if (pixel >= pass.column + 1 + kHysteresis || pixel < pass.column - kHysteresis) {
            pass.flush(out);
            pass.start(i, pixel);
        } else {
            pass.add(i, pixel, y);
        }
    }
    pass.flush(out);

    // Passes keep the first and last readings by construction, and the peak is the
    // highest of its pass; adding them again costs nothing and relies on neither.
    std::vector<int> extra{0, count - 1};
    if (peak >= 0)
        extra.push_back(peak);
    for (const int row : keep) {
        if (row >= 0 && row < count)
            extra.push_back(row);
    }
    std::sort(extra.begin(), extra.end());
    std::vector<int> merged;
    merged.reserve(out.size() + extra.size());
    std::set_union(out.begin(), out.end(), extra.begin(), extra.end(), std::back_inserter(merged));
    merged.erase(std::unique(merged.begin(), merged.end()), merged.end());
    return merged;
}

} // namespace OrvaneChart
