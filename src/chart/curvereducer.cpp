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

std::vector<int> CurveReducer::Reduce(const double* x, const double* y, int count, double xMin,
                                      double xMax, int columns, const std::vector<int>& keep)
{
    std::vector<int> out;
    if (count <= 0)
        return out;
    columns = std::max(1, columns);
    const double span = xMax - xMin;
    const double scale = span > 0 ? columns / span : 0;

    out.reserve(static_cast<size_t>(std::min(count, columns * 4 + 16)));
    Pass pass;
    int peak = -1;
    for (int i = 0; i < count; ++i) {
        if (IsNoValue(x[i]) || IsNoValue(y[i])) {
            pass.flush(out);
            pass = Pass();
            out.push_back(i);
            continue;
        }
        if (peak < 0 || y[i] > y[peak])
            peak = i;
        const double pixel = std::clamp((x[i] - xMin) * scale, -1e9, 1e9);
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
