// Basis values against the composite materials handbook's tables and the figures its
// statistics program publishes for one sample.
#include "experiment/basisvalues.h"
#include "experiment/distributionfit.h"
#include "experiment/nonparametricbasis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

// The handbook's single-batch example, 18 values, with its program's basis values.
const std::vector<double> kSample = {137.4438, 139.5395, 150.89,   141.4474, 141.8203, 151.8821,
                                     143.9245, 132.9732, 136.6419, 138.1723, 148.7668, 143.283,
                                     143.5429, 141.7023, 137.4732, 152.338,  144.1589, 128.5218};

} // namespace

TEST(BasisValues, ToleranceFactorsMatchTheHandbookTables)
{
    // k_B was tabulated with z(0.90) rounded to 1.282, hence 0.002; k_A to its last digit.
    const struct {
        int n;
        double kb, ka;
    } rows[] = {{2, 20.581, 37.094}, {3, 6.157, 10.553}, {5, 3.408, 5.741}, {10, 2.355, 3.981},
                {18, 1.974, 3.370},  {29, 1.789, 3.080}, {50, 1.646, 2.862}, {75, 1.570, 2.748}};
    for (const auto& row : rows) {
        EXPECT_NEAR(NormalToleranceFactor(row.n, 0.90), row.kb, 0.002) << row.n;
        EXPECT_NEAR(NormalToleranceFactor(row.n, 0.99), row.ka, 0.0005) << row.n;
    }
}

TEST(BasisValues, HansonKoopmansFactorsMatchTheHandbookTables)
{
    const double b_factors[] = {35.177, 7.859, 4.505, 4.101, 3.064, 2.858, 2.382, 2.253, 2.137,
                                1.897,  1.814, 1.738, 1.599, 1.540, 1.485, 1.434, 1.354, 1.311,
                                1.253,  1.218, 1.184, 1.143, 1.114, 1.087, 1.060, 1.035, 1.010};
    for (int n = 2; n <= 28; ++n)
        EXPECT_NEAR(HansonKoopmansFactor(n, HansonKoopmansRank(n), 0.90), b_factors[n - 2], 0.0005) << n;
    const struct {
        int n;
        double k;
    } a_factors[] = {{2, 80.0038}, {5, 6.89049}, {18, 2.4966}, {50, 1.62313}, {100, 1.30806}, {275, 1.01773}};
    for (const auto& row : a_factors)
        EXPECT_NEAR(HansonKoopmansFactor(row.n, row.n, 0.99), row.k, 5e-5 * row.k) << row.n;
    // From 29 values the B-basis is a ranked value, the least at 29; the A-basis from 299.
    EXPECT_EQ(NonparametricRank(28, 0.90), 0);
    EXPECT_EQ(NonparametricRank(29, 0.90), 1);
    EXPECT_EQ(NonparametricRank(298, 0.99), 0);
    EXPECT_EQ(NonparametricRank(299, 0.99), 1);
}

TEST(BasisValues, OneSampleAgreesWithTheHandbookProgram)
{
    const BasisValues v = ComputeBasisValues(kSample);
    EXPECT_EQ(v.n, 18);
    EXPECT_TRUE(v.outliers.empty());
    // The program's normal and lognormal factors are approximations, and its
    // Hanson-Koopmans k is the table's, rounded to 3 decimals: hence the wider bounds.
    const struct {
        const char* what;
        double value, published, tolerance;
    } rows[] = {{"normal B", v.b.normal, 129.287, 3e-5},         {"normal A", v.a.normal, 120.336, 2e-4},
                {"lognormal B", v.b.lognormal, 129.664, 3e-5},   {"lognormal A", v.a.lognormal, 121.710, 2e-4},
                {"Weibull B", v.b.weibull, 125.441, 1e-5},       {"Weibull A", v.a.weibull, 109.150, 1e-5},
                {"nonparametric B", v.b.nonparametric, 124.156, 5e-5},
                {"nonparametric A", v.a.nonparametric, 99.651, 1e-5}};
    for (const auto& row : rows)
        EXPECT_NEAR(row.value, row.published, row.tolerance * row.published) << row.what;
    ASSERT_TRUE(v.chosen);
    EXPECT_EQ(*v.chosen, BasisMethod::Weibull) << v.note;
    EXPECT_EQ(v.b_basis, v.b.weibull);
}

TEST(BasisValues, OutliersByTheMaximumNormedResidual)
{
    const struct {
        int n;
        double critical;
    } table[] = {{3, 1.154}, {5, 1.715}, {10, 2.290}, {18, 2.652}, {50, 3.128}, {200, 3.606}};
    for (const auto& row : table)
        EXPECT_NEAR(NormedResidualCritical(row.n), row.critical, 0.0005) << row.n;

    // The handbook's two batches: MNR 2.008 under 2.127, and 2.119 over 2.020.
    EXPECT_TRUE(NormedResidualOutliers({99.3207107, 115.86177, 82.6133082, 85.3690411, 115.801622, 44.3217741,
                                        117.328077, 88.6782903})
                    .empty());
    EXPECT_EQ(NormedResidualOutliers({107.676986, 108.960241, 116.12264, 80.2334815, 106.14557, 104.667866,
                                      104.234953}),
              std::vector<int>{3});
    // Each found one is taken out and the rest tested again, down to three values.
    EXPECT_EQ(NormedResidualOutliers({673, 621, 690, 689, 689}), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(NormedResidualOutliers(std::vector<double>(10, 100)).empty());
}

TEST(BasisValues, AndersonDarlingTellsANormalSampleFromAnExponentialOne)
{
    std::mt19937 random(30);
    std::exponential_distribution<double> exponential(1.0);
    std::normal_distribution<double> normal(100, 5);
    std::vector<double> skewed, bell;
    for (int i = 0; i < 30; ++i) {
        skewed.push_back(exponential(random));
        bell.push_back(normal(random));
    }
    EXPECT_LT(ComputeBasisValues(skewed).osl_normal, 0.05);
    const BasisValues fits = ComputeBasisValues(bell);
    EXPECT_GT(fits.osl_normal, 0.05);
    EXPECT_EQ(*fits.chosen, fits.osl_weibull > 0.05 ? BasisMethod::Weibull : BasisMethod::Normal) << fits.note;
}

TEST(BasisValues, FewValuesGiveNoneOrANote)
{
    // Four values: no fits or basis values, but the outlier test still runs.
    const BasisValues four = ComputeBasisValues({100, 101, 102, 60});
    EXPECT_TRUE(std::isnan(four.osl_normal) && std::isnan(four.b_basis) && std::isnan(four.a.weibull));
    EXPECT_FALSE(four.chosen);
    EXPECT_NE(four.note.find("fewer than 5"), std::string::npos);
    EXPECT_NE(four.Json({1, 2, 3, 4}).find("\"b_basis\": null"), std::string::npos);
    // A value that is no number gives none rather than an undefined sort.
    const BasisValues broken = ComputeBasisValues({100, 101, std::nan(""), 99, 98, 103});
    EXPECT_FALSE(broken.chosen);
    EXPECT_NE(broken.note.find("not a number"), std::string::npos);
    // Ten: the values, with the note that B-basis asks for 18.
    const BasisValues ten = ComputeBasisValues({100, 101, 102, 99, 98, 103, 100.5, 97, 101.5, 99.5});
    EXPECT_TRUE(std::isfinite(ten.b_basis));
    EXPECT_NE(ten.note.find("at least 18"), std::string::npos);
}
