// The composite section checked by a real solver: CalculiX loads a square plate of
// S8R shells built on the section written for a laminate, and its mid-plane strain
// and curvature must be the lamination theory's.
#include "doc/plyforgedoc.h"
#include "doc/projectreader.h"
#include "testsupport.h"
#include "theory/fesection.h"
#include "theory/laminateanalysis.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>

using namespace testing_support;

namespace {

constexpr double kSide = 100;    // mm, a hundred times the laminate's thickness
constexpr int kElements = 8;     // per side
constexpr int kGrid = 2 * kElements + 1;

int Node(int i, int j) { return j * kGrid + i + 1; }

// The plate on the section, held against rigid-body motion only, with an edge load
// on x = 0 and x = side balancing each other: the line load `value` (N/mm, or N mm/mm
// for a moment) on degree of freedom `dof`, shared among the edge's nodes as
// quadratic elements take it.
std::string Deck(const std::string& section, int dof, double value)
{
    std::ostringstream deck;
    deck << "*NODE\n";
    for (int j = 0; j < kGrid; ++j)
        for (int i = 0; i < kGrid; ++i)
            deck << Node(i, j) << ", " << i * kSide / (kGrid - 1) << ", " << j * kSide / (kGrid - 1) << ", 0\n";
    deck << "*NSET, NSET=PLATENODES, GENERATE\n1, " << kGrid * kGrid << ", 1\n*ELEMENT, TYPE=S8R, ELSET=PLATE\n";
    for (int e = 0; e < kElements * kElements; ++e) {
        const int i = 2 * (e % kElements), j = 2 * (e / kElements);
        deck << e + 1 << ", " << Node(i, j) << ", " << Node(i + 2, j) << ", " << Node(i + 2, j + 2) << ", "
             << Node(i, j + 2) << ", " << Node(i + 1, j) << ", " << Node(i + 2, j + 1) << ", " << Node(i + 1, j + 2)
             << ", " << Node(i, j + 1) << "\n";
    }
    deck << section << "*BOUNDARY\n" << Node(0, 0) << ", 1, 3\n" << Node(kGrid - 1, 0) << ", 2, 3\n"
         << Node(0, kGrid - 1) << ", 3, 3\n*STEP\n*STATIC\n*CLOAD\n";
    const double element = kSide / kElements;
    for (const int i : {0, kGrid - 1}) {
        for (int j = 0; j < kGrid; ++j) {
            const double share = j % 2 ? 4.0 / 6 : (j == 0 || j == kGrid - 1 ? 1.0 / 6 : 2.0 / 6);
            deck << Node(i, j) << ", " << dof << ", " << (i ? 1 : -1) * value * share * element << "\n";
        }
    }
    deck << "*NODE PRINT, NSET=PLATENODES\nU\n*END STEP\n";
    return deck.str();
}

struct Deformation {
    double strain;    // mid-plane strain x over the middle half of the plate
    double curvature; // about y, from the deflection along the plate's middle line
};

Deformation Solve(const TempDir& dir, const std::string& deck)
{
    WriteWholeFile(dir.Path() / "plate.inp", deck);
    const std::string command = "cd '" + dir.Str() + "' && ccx plate > ccx.log 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << ReadWholeFile(dir.Path() / "ccx.log");
    std::map<int, std::array<double, 3>> u;
    std::istringstream dat(ReadWholeFile(dir.Path() / "plate.dat"));
    for (std::string line; std::getline(dat, line);) {
        std::istringstream fields(line);
        int node = 0;
        std::array<double, 3> d{};
        if (fields >> node >> d[0] >> d[1] >> d[2])
            u[node] = d;
    }
    const int middle = kGrid / 2, quarter = kGrid / 4;
    const auto at = [&](int i) { return u[Node(i, middle)]; };
    const double span = kSide / 2;
    const double bend = at(quarter)[2] - 2 * at(middle)[2] + at(kGrid - 1 - quarter)[2];
    return {(at(kGrid - 1 - quarter)[0] - at(quarter)[0]) / span, -4 * bend / (span * span)};
}

} // namespace

TEST(FeSection, CalculixAgreesWithTheLaminationTheory)
{
    if (std::system("command -v ccx > /dev/null") != 0)
        FAIL() << "CalculiX (ccx, Debian's calculix-ccx) is not installed";
    TempDir dir;
    for (const std::vector<double>& angles : {std::vector<double>{0, 0, 90, 90, 90, 90, 0, 0},
                                              std::vector<double>{0, 0, 0, 0, 90, 90, 90, 90}}) {
        CPlyforgeDoc doc;
        doc.program_folder = dir.Str();
        doc.LoadProject(ProjectReader::ReadFile(ExampleFile("quasi-isotropic.plyforge")));
        for (size_t k = 0; k < angles.size(); ++k)
            doc.laminate.laminae[k]->angle = angles[k];
        TraceCapture capture;
        ASSERT_TRUE(doc.CalculateTheory(capture));
        LaminateAnalysis theory;
        ASSERT_TRUE(theory.Run(doc.laminate, std::nullopt));
        const std::string section = FeSection(doc.laminate, "PLATE");
        const bool symmetric = theory.result.symmetric;
        // Edge tension: the strain within 1 %. A bending moment: the curvature within
        // 2 %, from the full inverse, which couples the two for the unsymmetric stack.
        const Matrix6& inverse = theory.result.abd_inverse;
        const Deformation pulled = Solve(dir, Deck(section, 1, 100));
        EXPECT_NEAR(pulled.strain, inverse(0, 0) * 100, 0.01 * inverse(0, 0) * 100) << symmetric;
        const Deformation bent = Solve(dir, Deck(section, 5, 10));
        EXPECT_NEAR(bent.curvature, inverse(3, 3) * 10, 0.02 * inverse(3, 3) * 10) << symmetric;
        if (!symmetric) {
            EXPECT_NEAR(pulled.curvature, inverse(3, 0) * 100, 0.02 * std::abs(inverse(3, 0)) * 100);
        }
    }
}
