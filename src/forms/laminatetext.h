#pragma once

#include <QString>
#include <QStringList>

#include <vector>

struct Laminate;
struct LaminateAnalysis;

// The lamination theory of a laminate as the theory view and the report show it: the
// engine's text of its matrices, constants and classification, then the load case
// with the mid-plane strain, the curvature and the plies' strains and stresses,
// where rounding noise reads 0 (see ShownNumber). The log and the command-line
// calculator keep the engine's text, every digit as computed.
class LaminateText {
public:
    // Over an analysis that outlives it.
    explicit LaminateText(const LaminateAnalysis& analysis);

    // With the ply table, or without it when the plies are shown as tables of their own.
    QString Text(bool plyTable = true) const;
    // The plies' faces under the load: ply, face, z, then strains and stresses in
    // laminate axes (axes 0) or in ply axes (axes 1).
    std::vector<QStringList> PlyRows(int axes) const;

    // Ex, Ey, Gxy, NUxy, NUyx, ETAxyx and ETAxyy of the homogenized laminate, the
    // ratios and couplings rounded against 1.
    static QStringList HomogenizedValues(const Laminate& laminate);

private:
    QString LoadLines() const;

    const LaminateAnalysis& m_analysis;
    double m_largestStrain = 0; // of every face, in both axes
    double m_largestStress = 0;
};
