#include "chart/axis.h"

#include "chart/valueformat.h"

#include <algorithm>
#include <cmath>

namespace OrvaneChart {

namespace {

// The smallest step of 1, 2 or 5 times a power of ten that is at least rough.
double RoundStep(double rough)
{
    if (!(rough > 0) || !std::isfinite(rough))
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * power >= rough * (1 - 1e-9))
            return factor * power;
    }
    return 10 * power;
}

struct Scale {
    double lower = 0, upper = 0, step = 0;
};

// Of the scales over [low, high] with a step of 1, 2, 2.5 or 5 times a power of ten,
// at most room ticks and at least fewest labelled ones: the one that ends at the
// first round value past the data, then the one with more ticks. Step 0 when none fits.
Scale RoundScale(double low, double high, int room, int fewest, int labelStep)
{
    Scale best;
    long bestTicks = 0;
    const double rough = std::pow(10.0, std::floor(std::log10(high - low)) - 2);
    for (double power = rough; power <= rough * 1e4; power *= 10) {
        for (const double factor : {1.0, 2.0, 2.5, 5.0}) {
            const double step = factor * power;
            const Scale scale{std::floor(low / step + 1e-9) * step, std::ceil(high / step - 1e-9) * step, step};
            const long ticks = std::lround((scale.upper - scale.lower) / step) + 1;
            if ((ticks - 1) / labelStep + 1 < fewest || ticks > room)
                continue;
            const double span = scale.upper - scale.lower, bestSpan = best.upper - best.lower;
            if (best.step == 0 || span < bestSpan * (1 - 1e-9) || (span <= bestSpan * (1 + 1e-9) && ticks > bestTicks)) {
                best = scale;
                bestTicks = ticks;
            }
        }
    }
    return best;
}

} // namespace

Axis::Axis(bool vertical) : m_vertical(vertical), m_tickDensity(vertical ? 30 : 50) {}

void Axis::setTitle(const std::string& text, const std::string& font, double size, Color color)
{
    m_title = text;
    m_titleStyle = {font, size, color};
}

void Axis::setLabelStyle(const std::string& font, double size, Color color)
{
    m_labelStyle = {font, size, color};
}

void Axis::setLabelStep(int majorStep, int /*minorStep*/, int majorOffset, int /*minorOffset*/)
{
    // Every tick carries a grid line, so minor steps add nothing that is drawn.
    m_labelStep = std::max(1, majorStep);
    m_labelOffset = std::max(0, majorOffset);
    ++m_revision;
}

void Axis::setWidth(int width)
{
    m_width = std::max(0, width);
}

void Axis::setTickDensity(int majorSpacing, int /*minorSpacing*/)
{
    if (majorSpacing > 0 && majorSpacing != m_tickDensity) {
        m_tickDensity = majorSpacing;
        ++m_revision;
    }
}

std::string Axis::getFormattedLabel(double value, const std::string& format) const
{
    return ValueFormat::Apply(value, format.empty() ? m_labelFormat : format);
}

void Axis::setLinearScale(double lower, double upper, double tickStep)
{
    ++m_revision;
    m_fixedScale = upper > lower;
    if (!m_fixedScale)
        return;
    m_min = lower;
    m_max = upper;
    m_tickStep = tickStep > 0 ? tickStep : RoundStep((upper - lower) / 10);
}

double Axis::firstTick() const
{
    // Adding 0 turns the -0 of a scale starting a hair below zero into 0, labelled "0".
    return m_tickStep > 0 ? std::ceil(m_min / m_tickStep - 1e-9) * m_tickStep + 0.0 : m_min;
}

std::vector<double> Axis::tickValues() const
{
    std::vector<double> ticks;
    if (!(m_tickStep > 0))
        return ticks;
    const double first = firstTick();
    const int count = static_cast<int>(std::floor((m_max - first) / m_tickStep + 1e-9));
    ticks.reserve(static_cast<size_t>(std::max(count, 0)) + 1);
    for (int i = 0; i <= count; ++i)
        ticks.push_back(first + i * m_tickStep); // multiplied, not summed: no drift
    return ticks;
}

void Axis::setZoom(double low, double high)
{
    if (!(low < high))
        return;
    m_zoomed = true;
    m_zoomLow = low;
    m_zoomHigh = high;
    ++m_revision;
}

void Axis::clearZoom()
{
    m_zoomed = false;
    ++m_revision;
}

bool Axis::isLabelledTick(int tickIndex) const
{
    return tickIndex >= m_labelOffset && (tickIndex - m_labelOffset) % m_labelStep == 0;
}

double Axis::pixelOf(double value) const
{
    const double fraction = (value - m_min) / (m_max - m_min);
    return m_vertical ? m_pixelStart + m_pixelLength * (1 - fraction) : m_pixelStart + m_pixelLength * fraction;
}

double Axis::valueOf(double pixel) const
{
    const double fraction = (pixel - m_pixelStart) / m_pixelLength;
    return m_vertical ? m_max - fraction * (m_max - m_min) : m_min + fraction * (m_max - m_min);
}

void Axis::placeAt(int linePosition, int pixelStart, int pixelLength)
{
    m_linePosition = linePosition;
    m_pixelStart = pixelStart;
    m_pixelLength = std::max(1, pixelLength);
}

void Axis::fitScale(double dataMin, double dataMax)
{
    if (m_fixedScale)
        return;
    if (m_zoomed) {
        const int room = std::clamp(m_pixelLength / std::max(1, m_tickDensity) + 1, 2, 10);
        Scale scale;
        for (int fewest = std::min(5, room); fewest >= 2 && scale.step == 0; --fewest)
            scale = RoundScale(m_zoomLow, m_zoomHigh, room, fewest, 1);
        m_min = m_zoomLow;
        m_max = m_zoomHigh;
        m_tickStep = scale.step > 0 ? scale.step : RoundStep(m_zoomHigh - m_zoomLow);
        return;
    }
    if (!(dataMin <= dataMax)) { // no data at all
        dataMin = 0;
        dataMax = 10;
    }
    // Measured curves start at the origin; a scale that starts there reads best
    // unless the data sit far from zero.
    if (dataMin > 0 && dataMin < 0.8 * dataMax)
        dataMin = 0;
    else if (dataMax < 0 && dataMax > 0.8 * dataMin)
        dataMax = 0;
    if (dataMax - dataMin <= std::fabs(dataMax) * 1e-12) {
        const double pad = dataMax == 0 ? 1 : std::fabs(dataMax) * 0.1;
        dataMin -= pad;
        dataMax += pad;
    }

    // Readings a hair beyond a round value (measurement noise around zero strain or
    // stress, a peak of 501.4 MPa) do not earn a whole extra tick: within half a
    // percent of the span the ticks end at the round value, and the axis runs on
    // just past it to the reading, so no curve is cut off at the plot's edge.
    const double slack = (dataMax - dataMin) * 0.005;
    // Five to ten labelled ticks, as many as the axis has room for; a small chart that
    // has no room for five takes as many as it has.
    const int room = std::clamp(m_pixelLength / std::max(1, m_tickDensity) * m_labelStep + 1, 2, 10 * m_labelStep);
    Scale scale;
    for (int fewest = std::min(5, room); fewest >= 2 && scale.step == 0; --fewest)
        scale = RoundScale(dataMin + slack, dataMax - slack, room, fewest, m_labelStep);
    double lower = scale.lower, upper = scale.upper, step = scale.step;
    if (step == 0) { // no room for even two ticks: the whole span in one step
        step = RoundStep(dataMax - dataMin);
        lower = std::floor(dataMin / step) * step;
        upper = std::ceil(dataMax / step) * step;
    }
    // With labels on every n-th tick, end the scale on a labelled tick so that the
    // last stretch of the axis has its grid lines and its end value can be read.
    const long steps = std::lround((upper - lower) / step);
    if (m_labelStep > 1 && steps >= m_labelOffset && (steps - m_labelOffset) % m_labelStep != 0)
        upper += step * (m_labelStep - (steps - m_labelOffset) % m_labelStep);
    m_min = std::min(lower, dataMin);
    m_max = std::max(upper, dataMax);
    m_tickStep = step;
}

} // namespace OrvaneChart
