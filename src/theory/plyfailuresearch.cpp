#include "theory/plyfailuresearch.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Faces next to a formula switch are evaluated one by one: rounding may put the
// one or two faces on the switch on its wrong side, and the convexity holds
// only beyond them.
constexpr size_t kBorder = 3;

bool SameClass(const StrengthPly& a, const StrengthPly& b)
{
    return a.angle == b.angle && a.nu12 == b.nu12 && a.stiffness == b.stiffness && a.moduli.E1 == b.moduli.E1 &&
           a.moduli.E2 == b.moduli.E2 && a.moduli.G12 == b.moduli.G12 && *a.failure == *b.failure;
}

} // namespace

PlyFailureSearch::FaceMap::FaceMap(const Matrix3& stiffness, double angle)
{
    // As LaminationTheory::ApplyLoad: the stress through the ply's stiffness and
    // the rotation, the strain through the rotation alone.
    Matrix3 rotate;
    for (int k = 0; k < 3; ++k) {
        strain.col(k) = LaminationTheory::StrainToPlyAxes(Eigen::Vector3d::Unit(k), angle);
        rotate.col(k) = LaminationTheory::StressToPlyAxes(Eigen::Vector3d::Unit(k), angle);
    }
    stress = rotate * stiffness;
}

PlyState PlyFailureSearch::FaceMap::State(const Eigen::Vector3d& e) const
{
    const Eigen::Vector3d f = stress * e, g = strain * e;
    return {f[0], f[1], f[2], g[0], g[1], g[2]};
}

PlyFailureSearch::PlyFailureSearch(const std::vector<StrengthPly>& plies, const LaminationResult& laminate)
    : m_plies(plies), m_laminate(laminate)
{
    const size_t n = plies.size();
    m_z.push_back(-laminate.thickness / 2);
    std::vector<size_t> representatives;
    for (size_t k = 0; k < n; ++k) {
        m_z.push_back(m_z.back() + plies[k].thickness);
        if (!plies[k].failure) {
            m_class.push_back(kNone);
            continue;
        }
        size_t c = 0;
        while (c < representatives.size() && !SameClass(plies[representatives[c]], plies[k]))
            ++c;
        if (c == representatives.size())
            representatives.push_back(k);
        m_class.push_back(c);
    }
    m_z.back() = laminate.thickness / 2;
    m_groups.resize(2 * representatives.size());
}

size_t PlyFailureSearch::GroupOf(size_t ply) const
{
    return 2 * m_class[ply] + (m_states[ply] == State::MatrixFailed ? 1 : 0);
}

void PlyFailureSearch::Start(FailureCriterion criterion, bool every_face)
{
    m_criterion = criterion;
    m_every_face = every_face;
    const size_t n = m_plies.size();
    m_states.assign(n, State::Intact);
    m_stiffness.clear();
    m_maps.clear();
    for (Group& group : m_groups)
        group.plies.clear();
    for (size_t k = 0; k < n; ++k) {
        m_stiffness.push_back(m_plies[k].stiffness);
        m_maps.emplace_back(m_stiffness[k], m_plies[k].angle);
        if (m_class[k] != kNone)
            m_groups[GroupOf(k)].plies.push_back(k);
    }
    m_abd << m_laminate.A, m_laminate.B, m_laminate.B, m_laminate.D;
}

double PlyFailureSearch::Least(const Eigen::Vector3d& midplane, const Eigen::Vector3d& curvature)
{
    m_midplane = midplane;
    m_curvature = curvature;
    double least = kInfinity;
    for (const Group& group : m_groups) {
        if (!group.plies.empty())
            least = std::min(least, Least(group, Stretches(group)));
    }
    return least;
}

LastPlyFailure PlyFailureSearch::LastPly(const LaminateLoad& load)
{
    Eigen::Matrix<double, 6, 1> resultants;
    resultants << load.N[0], load.N[1], load.N[2], load.M[0], load.M[1], load.M[2];
    std::vector<std::vector<Stretch>> stretches(m_groups.size());
    std::vector<double> least(m_groups.size());

    LastPlyFailure out;
    size_t intact = m_plies.size();
    while (intact > 0) {
        const Eigen::Matrix<double, 6, 1> deformation = m_abd.partialPivLu().solve(resultants);
        m_midplane = deformation.head<3>();
        m_curvature = deformation.tail<3>();
        double lowest = kInfinity;
        for (size_t g = 0; g < m_groups.size(); ++g) {
            stretches[g] = Stretches(m_groups[g]);
            least[g] = Least(m_groups[g], stretches[g]);
            lowest = std::min(lowest, least[g]);
        }
        if (!std::isfinite(lowest))
            break;
        // Ratios within the tie of the least are the same event; the lowest face
        // has it.
        const double bound = lowest + kStrengthTie * lowest;
        size_t at = 0, at_interface = 0, key = std::numeric_limits<size_t>::max();
        for (size_t g = 0; g < m_groups.size(); ++g) {
            if (!(least[g] <= bound))
                continue;
            const size_t face = First(m_groups[g], stretches[g], bound);
            if (face == 2 * m_groups[g].plies.size())
                continue;
            const size_t ply = PlyOf(m_groups[g], face), interface = InterfaceOf(m_groups[g], face);
            if (ply + interface < key) { // 2k at ply k's bottom, 2k + 1 at its top
                key = ply + interface;
                at = ply;
                at_interface = interface;
            }
        }
        const StrengthRatio ratio = PlyRatio(at, at_interface);
        const double lambda = out.events.empty() ? ratio.R : std::max(ratio.R, out.events.back().lambda);
        out.events.push_back({lambda, m_plies[at].id, ratio.mode});
        intact -= m_states[at] == State::Intact;
        Discount(at, IsFibreMode(ratio.mode));
    }
    out.lambda = out.events.empty() ? kInfinity : out.events.back().lambda;
    return out;
}

void PlyFailureSearch::Discount(size_t ply, bool fibre)
{
    std::vector<size_t>& from = m_groups[GroupOf(ply)].plies;
    from.erase(std::lower_bound(from.begin(), from.end(), ply));
    m_states[ply] = fibre ? State::FibreFailed : State::MatrixFailed;
    if (!fibre) {
        std::vector<size_t>& to = m_groups[GroupOf(ply)].plies;
        to.insert(std::lower_bound(to.begin(), to.end(), ply), ply);
    }
    const StrengthPly& p = m_plies[ply];
    const double d = kPlyFailureSearch;
    const Matrix3 degraded = LaminationTheory::RotateStiffness(
        LaminationTheory::PlyStiffness(p.moduli.E1 * (fibre ? d : 1), p.moduli.E2 * d, p.moduli.G12 * d, p.nu12 * d),
        p.angle);
    const Matrix3 change = degraded - m_stiffness[ply];
    m_stiffness[ply] = degraded;
    m_maps[ply] = FaceMap(degraded, p.angle);
    const double b = m_z[ply], t = m_z[ply + 1];
    m_abd.topLeftCorner<3, 3>() += change * (t - b);
    m_abd.topRightCorner<3, 3>() += change * ((t * t - b * b) / 2);
    m_abd.bottomLeftCorner<3, 3>() += change * ((t * t - b * b) / 2);
    m_abd.bottomRightCorner<3, 3>() += change * ((t * t * t - b * b * b) / 3);
}

StrengthRatio PlyFailureSearch::PlyRatio(size_t ply, size_t interface) const
{
    const PlyState state = m_maps[ply].State(m_midplane + m_z[interface] * m_curvature);
    return m_states[ply] == State::Intact ? m_plies[ply].failure->Ratio(m_criterion, state)
                                          : m_plies[ply].failure->FibreRatio(state);
}

std::vector<PlyFailureSearch::Stretch> PlyFailureSearch::Stretches(const Group& group) const
{
    const size_t faces = 2 * group.plies.size();
    if (faces == 0)
        return {};
    const size_t first = group.plies.front();
    FormulaSwitches switches;
    if (m_states[first] == State::Intact)
        switches = m_plies[first].failure->Switches(m_criterion);
    if (m_every_face || !switches.convex)
        return {{0, faces, false}};
    // The stresses along the group's faces: at + z along.
    const Eigen::Vector3d at = m_maps[first].stress * m_midplane, along = m_maps[first].stress * m_curvature;
    std::vector<size_t> cuts{0, faces};
    for (int s = 0; s < switches.count; ++s) {
        const Eigen::Vector3d c(switches.planes[s][0], switches.planes[s][1], switches.planes[s][2]);
        const double slope = c.dot(along);
        if (slope == 0)
            continue;
        const double z = -c.dot(at) / slope;
        size_t lo = 0, hi = faces; // the first face above z
        while (lo < hi) {
            const size_t mid = (lo + hi) / 2;
            if (m_z[InterfaceOf(group, mid)] > z)
                hi = mid;
            else
                lo = mid + 1;
        }
        cuts.push_back(lo);
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    std::vector<Stretch> out;
    for (size_t i = 0; i + 1 < cuts.size(); ++i)
        out.push_back({cuts[i], cuts[i + 1], true});
    return out;
}

double PlyFailureSearch::Least(const Group& group, const std::vector<Stretch>& stretches) const
{
    double least = kInfinity;
    const auto take = [&](size_t face) { least = std::min(least, FaceRatio(group, face).R); };
    for (const Stretch& s : stretches) {
        if (!s.convex || s.hi - s.lo <= 2 * kBorder + 2) {
            for (size_t face = s.lo; face < s.hi; ++face)
                take(face);
            continue;
        }
        for (size_t i = 0; i <= kBorder; ++i) {
            take(s.lo + i);
            take(s.hi - 1 - i);
        }
    }
    return least;
}

size_t PlyFailureSearch::First(const Group& group, const std::vector<Stretch>& stretches, double bound) const
{
    const auto within = [&](size_t face) { return FaceRatio(group, face).R <= bound; };
    for (const Stretch& s : stretches) {
        if (!s.convex || s.hi - s.lo <= 2 * kBorder + 2) {
            for (size_t face = s.lo; face < s.hi; ++face) {
                if (within(face))
                    return face;
            }
            continue;
        }
        for (size_t face = s.lo; face <= s.lo + kBorder; ++face) {
            if (within(face))
                return face;
        }
        // Between the borders the faces within the bound are those at the ends; the
        // lower end has none, so they are the upper end's, found by bisection.
        size_t lo = s.lo + kBorder + 1, hi = s.hi - kBorder - 1;
        if (within(lo))
            return lo;
        if (within(hi - 1)) {
            while (lo < hi - 1) {
                const size_t mid = lo + (hi - 1 - lo) / 2;
                if (within(mid))
                    hi = mid + 1;
                else
                    lo = mid + 1;
            }
            return lo;
        }
        for (size_t face = s.hi - kBorder - 1; face < s.hi; ++face) {
            if (within(face))
                return face;
        }
    }
    return 2 * group.plies.size();
}
