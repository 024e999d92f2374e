// Text formatting of logs and traces: FormatText, the two matrix printers and the
// time text, independent of the process locale.
#include "mechanics/matrix3.h"
#include "testsupport.h"
#include "util/formattext.h"
#include "util/timefunction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

using namespace testing_support;

TEST(FormatText, FormatsTheWholeTemplate)
{
    // Longer than any fixed buffer: the whole text, no truncation.
    const std::string name(1000, 'x');
    const std::string text = FormatText("name=%s;", name.c_str());
    EXPECT_EQ(text.size(), name.size() + 6);
    EXPECT_EQ(text.back(), ';');
}

TEST(FormatText, IgnoresACommaDecimalLocale)
{
    CommaDecimalLocale comma;
    if (!comma.Active())
        GTEST_SKIP() << "no comma-decimal locale installed";
    EXPECT_EQ(FormatText("%g %f", 0.5, 1.25), "0.5 1.250000");
    Matrix3 m = Matrix3::Identity() * 0.5;
    EXPECT_EQ(MatrixLogText(m).substr(0, 6), "  0.50");
    EXPECT_EQ(MatrixTraceText(m).substr(0, 3), "0.5");
}

TEST(MatrixLog, PrintsEachElementInAFieldOfFiveWithTwoDecimals)
{
    Matrix3 m;
    m << 1, 0, -0.5, 123.456, 0.007, -12.5, 0, 0, 0;
    EXPECT_EQ(MatrixLogText(m), "  1.00  0.00 -0.50\n 123.46  0.01 -12.50\n  0.00  0.00  0.00\n");
}

TEST(MatrixTrace, MatchesEigensStreamLayout)
{
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<Matrix3> cases(5);
    cases[0] = Matrix3::Zero();
    cases[1] << 0.71736, -0.186514, 0, -0.186514, 5.67722, 0, 0, 0, 15.1845;
    cases[2] << 140.906, 3.01941, 0, 3.01941, 10.0647, 0, 0, 0, 5;
    cases[3] << 1e-20, -1e20, 123456789, -0.0, 1, 2, 3, 4, 5;
    cases[4] << inf, -inf, 1, 2, 3, 4, 5, 6, 7;
    for (const Matrix3& m : cases) {
        std::ostringstream eigen;
        eigen << m << '\n';
        EXPECT_EQ(MatrixTraceText(m), eigen.str());
    }
}

TEST(TimeFunction, FormatsYearMonthDayAndTime)
{
    std::tm time{};
    time.tm_year = 2026 - 1900;
    time.tm_mon = 11;
    time.tm_mday = 6;
    time.tm_hour = 9;
    time.tm_min = 5;
    time.tm_sec = 3;
    EXPECT_EQ(CTimeFunction::FormatTime(time), "2026-12-06 09:05:03");
    EXPECT_EQ(CTimeFunction().GetLocalTimeText().size(), 19u);
}
