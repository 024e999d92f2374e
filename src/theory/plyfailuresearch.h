#pragma once

#include "theory/strengthply.h"

#include <vector>

// The ply faces that fail first, for one criterion at a time: last-ply failure by ply
// discount, and the first failure under each direction of the envelope.
//
// Plies of one class (angle, stiffness, strengths) in one state share their map
// from laminate strains to ply states, and those strains are linear through the
// thickness: the group's face states lie on one line. Between the planes where
// the criterion switches formula 1 / R is convex along that line, so the least
// R of a stretch lies at its ends, and the faces within a tie of it are its
// ends too. An event then evaluates a few faces per group instead of every face
// of the laminate. Plies without strengths take no part.
class PlyFailureSearch {
public:
    PlyFailureSearch(const std::vector<StrengthPly>& plies, const LaminationResult& laminate);

    // Every ply intact, judged by the criterion. every_face evaluates each face
    // instead of searching: the reference the search is checked against.
    void Start(FailureCriterion criterion, bool every_face = false);
    // The least R over the faces under a deformation of the laminate as it started.
    double Least(const Eigen::Vector3d& midplane, const Eigen::Vector3d& curvature);
    // From the start, every ply assessed.
    LastPlyFailure LastPly(const LaminateLoad& load);

private:
    static constexpr size_t kNone = static_cast<size_t>(-1);
    enum class State { Intact, MatrixFailed, FibreFailed };
    struct Group {
        std::vector<size_t> plies; // in stack order
    };
    // Faces [lo, hi) of a group, in stack order; convex: 1 / R is, along them.
    struct Stretch {
        size_t lo = 0, hi = 0;
        bool convex = false;
    };

    void Discount(size_t ply, bool fibre);
    size_t GroupOf(size_t ply) const;
    std::vector<Stretch> Stretches(const Group& group) const;
    double Least(const Group& group, const std::vector<Stretch>& stretches) const;
    // The first face whose R is at most bound, or the group's face count.
    size_t First(const Group& group, const std::vector<Stretch>& stretches, double bound) const;
    StrengthRatio FaceRatio(const Group& group, size_t face) const
    {
        return PlyRatio(PlyOf(group, face), InterfaceOf(group, face));
    }
    StrengthRatio PlyRatio(size_t ply, size_t interface) const;
    size_t PlyOf(const Group& group, size_t face) const { return group.plies[face / 2]; }
    size_t InterfaceOf(const Group& group, size_t face) const { return PlyOf(group, face) + face % 2; }

    struct FaceMap {
        Matrix3 stress, strain;
        FaceMap(const Matrix3& stiffness, double angle);
        PlyState State(const Eigen::Vector3d& e) const;
    };

    const std::vector<StrengthPly>& m_plies;
    const LaminationResult& m_laminate;
    std::vector<double> m_z;     // interfaces, -h/2 to h/2
    std::vector<size_t> m_class; // of each ply: equal classes, equal plies; kNone: not assessed
    std::vector<Group> m_groups; // two per class: intact, matrix-failed

    FailureCriterion m_criterion = FailureCriterion::MaxStress;
    bool m_every_face = false;
    std::vector<State> m_states;
    std::vector<Matrix3> m_stiffness;
    std::vector<FaceMap> m_maps;
    Matrix6 m_abd;
    Eigen::Vector3d m_midplane = Eigen::Vector3d::Zero(), m_curvature = Eigen::Vector3d::Zero();
};
