#include "forms/laminatetext.h"

#include "forms/shownnumber.h"
#include "theory/laminate.h"
#include "theory/laminateanalysis.h"
#include "util/formattext.h"

#include <algorithm>

namespace {

// One face of a ply under the load, bottom then top, ply 1 first.
struct Face {
    int id;
    const char* name;
    double z;
    const PlyFace* values;
};

std::vector<Face> Faces(const LoadResult& loaded)
{
    std::vector<Face> faces;
    for (const PlyLoadResult& p : loaded.plies) {
        faces.push_back({p.id, "bottom", p.z_bottom, &p.bottom});
        faces.push_back({p.id, "top", p.z_top, &p.top});
    }
    return faces;
}

double Largest(const Eigen::Vector3d& v) { return v.cwiseAbs().maxCoeff(); }

// Three values in columns of 12, as the engine's text aligns them.
QString Triple(const Eigen::Vector3d& v, double reference)
{
    return QString("%1 %2 %3")
        .arg(ShownNumber::Text(v[0], reference), 12)
        .arg(ShownNumber::Text(v[1], reference), 12)
        .arg(ShownNumber::Text(v[2], reference), 12);
}

} // namespace

LaminateText::LaminateText(const LaminateAnalysis& analysis) : m_analysis(analysis)
{
    // The faces hold the mid-plane strain plus the curvature's share, so their largest
    // strain is the scale of every strain and curvature of the load case.
    for (const Face& face : Faces(analysis.loaded)) {
        const PlyFace& f = *face.values;
        m_largestStrain = std::max({m_largestStrain, Largest(f.strain_xy), Largest(f.strain_12)});
        m_largestStress = std::max({m_largestStress, Largest(f.stress_xy), Largest(f.stress_12)});
    }
}

QString LaminateText::LoadLines() const
{
    const LaminateLoad& load = *m_analysis.load;
    QString out = QString::fromStdString(FormatText("Load: Nx=%g Ny=%g Nxy=%g N/mm, Mx=%g My=%g Mxy=%g N mm/mm\n",
                                                    load.N[0], load.N[1], load.N[2], load.M[0], load.M[1],
                                                    load.M[2]));
    out += "Mid-plane strain (x, y, xy): " + Triple(m_analysis.loaded.midplane_strain, m_largestStrain) + '\n';
    // A curvature against the one that would give the largest strain at the surface.
    const double halfThickness = m_analysis.result.thickness / 2;
    const double curvatureScale = halfThickness > 0 ? m_largestStrain / halfThickness : 0;
    out += "Curvature (1/mm):            " + Triple(m_analysis.loaded.curvature, curvatureScale) + '\n';
    return out;
}

QString LaminateText::Text(bool plyTable) const
{
    // The engine's text up to the load case, which this one rounds.
    LaminateAnalysis unloaded = m_analysis;
    unloaded.load.reset();
    QString out = QString::fromStdString(unloaded.Text());
    if (!m_analysis.load)
        return out;
    out += LoadLines();
    if (!plyTable)
        return out;
    out += "Ply\tFace\tz(mm)\tStrain x, y, xy\tStress x, y, xy (MPa)\tStrain 1, 2, 12\tStress 1, 2, 12 (MPa)\n";
    const double halfThickness = m_analysis.result.thickness / 2;
    for (const Face& face : Faces(m_analysis.loaded)) {
        const PlyFace& f = *face.values;
        out += QString("%1\t%2\t%3\t").arg(face.id).arg(face.name, ShownNumber::Text(face.z, halfThickness)) +
               Triple(f.strain_xy, m_largestStrain) + '\t' + Triple(f.stress_xy, m_largestStress) + '\t' +
               Triple(f.strain_12, m_largestStrain) + '\t' + Triple(f.stress_12, m_largestStress) + '\n';
    }
    return out;
}

std::vector<QStringList> LaminateText::PlyRows(int axes) const
{
    std::vector<QStringList> rows;
    const double halfThickness = m_analysis.result.thickness / 2;
    for (const Face& face : Faces(m_analysis.loaded)) {
        const PlyFace& f = *face.values;
        QStringList row{QString::number(face.id), face.name, ShownNumber::Text(face.z, halfThickness)};
        const Eigen::Vector3d& strain = axes == 0 ? f.strain_xy : f.strain_12;
        const Eigen::Vector3d& stress = axes == 0 ? f.stress_xy : f.stress_12;
        for (int k = 0; k < 3; ++k)
            row << ShownNumber::Text(strain[k], m_largestStrain);
        for (int k = 0; k < 3; ++k)
            row << ShownNumber::Text(stress[k], m_largestStress);
        rows.push_back(row);
    }
    return rows;
}

QStringList LaminateText::HomogenizedValues(const Laminate& l)
{
    // Poisson's ratios and couplings are ratios of strains: against 1.
    return {ShownNumber::Text(l.Ex),      ShownNumber::Text(l.Ey),        ShownNumber::Text(l.Gxy),
            ShownNumber::Text(l.NUxy, 1), ShownNumber::Text(l.NUyx, 1),   ShownNumber::Text(l.ETAxyx, 1),
            ShownNumber::Text(l.ETAxyy, 1)};
}
