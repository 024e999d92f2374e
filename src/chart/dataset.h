#pragma once

#include "chart/chartdefs.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace OrvaneChart {

class Axis;

// Readings several charts of the same data hold without copying them.
using SharedSeries = std::shared_ptr<const std::vector<double>>;

// One curve of a layer: its y values (NoValue for a gap), colour and legend name,
// and the readings any reduced drawing of it must keep.
class DataSet {
public:
    DataSet(SharedSeries values, Color color, std::string name, const Axis* yAxis);

    // The value at that index; NoValue outside the data.
    double getPosition(int index) const;
    Color getDataColor() const { return m_color; }
    const std::string& getDataName() const { return m_name; }
    const Axis* getUseYAxis() const { return m_yAxis; }

    int size() const { return static_cast<int>(m_values->size()); }
    const std::vector<double>& values() const { return *m_values; }

    // Indices a reduced drawing keeps whatever the pixel grid (out-of-range ones are
    // ignored). The first and last readings and the peak are always kept anyway.
    void setKeepIndices(std::vector<int> indices) { m_keep = std::move(indices); }
    const std::vector<int>& keepIndices() const { return m_keep; }
    // The line's pattern, solid by default.
    void setDash(LineDash dash) { m_dash = dash; }
    LineDash dash() const { return m_dash; }
    // Drawn see-through in its colour and pattern (a curve left out of the results, say).
    void setFaded(bool faded) { m_faded = faded; }
    bool faded() const { return m_faded; }
    // The colour it is drawn in: its own, or see-through when faded.
    Color drawnColor() const;
    // Not drawn nor tracked; its legend entry stays, greyed, to show it again.
    void setHidden(bool hidden) { m_hidden = hidden; }
    bool hidden() const { return m_hidden; }

private:
    SharedSeries m_values;
    LineDash m_dash = LineDash::Solid;
    bool m_faded = false;
    bool m_hidden = false;
    Color m_color;
    std::string m_name;
    const Axis* m_yAxis;
    std::vector<int> m_keep;
};

} // namespace OrvaneChart
