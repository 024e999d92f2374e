// The readings table: the Load, Strain and Stress columns of a tensile test as a
// spreadsheet or test machine exports them.

#include "experiment/readingstable.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using Series = std::vector<double>;

ReadingsTable Parse(const std::string& text) { return ReadingsTable::Parse(text, "t.csv"); }

// The message of the ReadingsError the call raises; a failure when it raises none.
template <typename Call>
std::string ErrorOf(Call call)
{
    try {
        call();
    } catch (const ReadingsError& error) {
        return error.what();
    }
    ADD_FAILURE() << "read without an error";
    return "";
}

void ExpectTable(const ReadingsTable& table, const Series& load, const Series& strain, const Series& stress)
{
    EXPECT_EQ(table.load, load);
    EXPECT_EQ(table.strain, strain);
    EXPECT_EQ(table.stress, stress);
}

TEST(ReadingsTableParse, AcceptsTheUsualExports)
{
    struct Case {
        const char* name;
        std::string text;
        Series load, strain, stress;
    };
    const Series l{1, 4}, s{2, 5}, t{3, 6}; // the two rows most cases hold
    const Case cases[] = {
        {"comma, no final line end", "1,2,3\n4,5,6", l, s, t},
        {"semicolon", "1;2;3\n4;5;6\n", l, s, t},
        {"tab, CRLF", "1\t2\t3\r\n4\t5\t6\r\n", l, s, t},
        {"CRLF, header and units", "Load,Strain,Stress\r\nN,%,N/mm2\r\n1,2,3\r\n4,5,6\r\n", l, s, t},
        {"notes, empty cells, short header", "Test 2024-06-11\nSpecimen,A-3,\nLoad,Strain\n,,\n1,2,3\n", {1}, {2}, {3}},
        {"header with numbers in it", "Test 1;Machine 2;Run 3\n(N);(%);(MPa)\n7;8;9\n", {7}, {8}, {9}},
        {"blank lines anywhere", "\n\nLoad,Strain,Stress\n\n1,2,3\n\n   \n\t\n4,5,6\n\n\n", l, s, t},
        {"signs, exponents, bare points", "+1,+2.5,+3e2\n-1.5e-3,2E+2,.5\n-0,5.,1e-310\n", {1, -1.5e-3, -0.0},
         {2.5, 200, 5}, {300, 0.5, 1e-310}},
        {"white space around cells", "  1 , 2 ,  3  \n 4; 5 ;6 \n", l, s, t},
        {"trailing separators", "1,2,3,\n4;5;6;\n", l, s, t},
        {"trailing empty cells", "1\t2\t3\t\t\n4,5,6, , \n", l, s, t},
        // A spreadsheet saved as CSV pads every row to the widest column and writes
        // empty rows as bare separators.
        {"padded rows", "Load,Strain,Stress,,,,,,,,,Operator: K.\n1,2,3,,,,,,,,,\n4,5,6,,,,,,,,,\n", l, s, t},
        {"empty rows as separators", "Load,Strain,Stress\n1,2,3\n4,5,6\n,,\n,,\n", l, s, t},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            ExpectTable(Parse(c.text), c.load, c.strain, c.stress);
        } catch (const ReadingsError& error) {
            ADD_FAILURE() << error.what();
        }
    }
    const ReadingsTable zeros = Parse("-0,+0,-0.0\n"); // == does not see the sign of zero
    EXPECT_TRUE(std::signbit(zeros.load[0]) && !std::signbit(zeros.strain[0]) && std::signbit(zeros.stress[0]));
}

TEST(ReadingsTableParse, ValuesReadBackExactly)
{
    // Shortest round-trip texts of doubles of every size, a hundred thousand rows.
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> mantissa(-1, 1);
    std::uniform_int_distribution<int> exponent(-300, 300);
    Series columns[3];
    std::string text = "Load;Strain;Stress\r\n";
    for (int i = 0; i < 100000; ++i) {
        for (Series& column : columns) {
            column.push_back(std::ldexp(mantissa(random), exponent(random)));
            char buffer[32];
            text.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, column.back()).ptr);
            text += ';';
        }
        text.back() = '\r';
        text += '\n';
    }
    ExpectTable(ReadingsTable::Parse(text, "big.csv"), columns[0], columns[1], columns[2]);
}

TEST(ReadingsTableParse, ErrorsNameTheSourceAndLine)
{
    struct Case {
        const char* name;
        std::string text;
        int line; // 0 when the error is about the whole text
        std::vector<std::string> parts;
    };
    const Case cases[] = {
        {"bad cell after the data started", "Load,Strain,Stress\n1,2,3\n4,x,6\n", 3, {"Strain", "\"x\""}},
        {"bad load cell", "1,2,3\nabc,5,6\n", 2, {"Load", "\"abc\""}},
        {"bad stress cell", "1,2,3\n4,5,6.6.6\n", 2, {"Stress", "\"6.6.6\""}},
        {"empty cell in the data", "1,2,3\n4,,6\n", 2, {"Strain"}},
        {"decimal commas split into too many cells", "1;2;3\n1,5;2,5;3,5\n", 2, {"3 columns"}},
        {"header again after the data", "1,2,3\nLoad,Strain,Stress\n", 2, {"Load", "\"Load\""}},
        {"CRLF, blank and header lines counted", "\r\n\r\nLoad;Strain;Stress\r\n1;2;3\r\n\r\n4;5;x\r\n", 6, {"\"x\""}},
        {"too few columns", "1,2,3\n4,5\n", 2, {"3 columns", "found 2"}},
        {"one column", "1,2,3\n\n\n4\n", 4, {"3 columns", "found 1"}},
        {"too many columns on the first row", "Load\tStrain\tStress\n1\t2\t3\t4\n", 2, {"3 columns"}},
        {"a value far to the right", "1,2,3\n4,5,6,,,,,,,,,9\n", 2, {"3 columns"}},
        // A long bad cell is shortened to keep the message readable.
        {"long bad cell", "1,2,3\n4,5," + std::string(5000, 'z') + "\n", 2, {"Stress"}},
        {"nothing numeric", "Load,Strain,Stress\nN,%,MPa\n", 0, {"no rows"}},
        {"empty text", "", 0, {"no rows"}},
        {"only blank lines", "\n\r\n  \n", 0, {"no rows"}},
        {"numbers but never three", "1,2\n3,4\n", 0, {"no rows"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string message = ErrorOf([&] { Parse(c.text); });
        const std::string prefix = c.line ? "t.csv: line " + std::to_string(c.line) + ": " : "t.csv: ";
        EXPECT_EQ(message.rfind(prefix, 0), 0u) << message;
        EXPECT_LT(message.size(), 200u) << message;
        EXPECT_EQ(message.find_first_of("\r\n"), std::string::npos) << message;
        for (const std::string& part : c.parts)
            EXPECT_NE(message.find(part), std::string::npos) << "\"" << part << "\" not in: " << message;
    }
}

TEST(ReadingsTableCell, ParseTableNumber)
{
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<const char*, double> good[] = {
        {"1.5", 1.5}, {" 1.5 ", 1.5}, {"\t-2.5e-3\r", -2.5e-3}, {"+1", 1}, {" +7 ", 7}, {"1e3", 1000},
        {"1E-3", 1e-3}, {".5", 0.5}, {"5.", 5}, {"inf", inf}, {"-inf", -inf}, {"+inf", inf},
    };
    for (const auto& [cell, expected] : good) {
        double value = -12345;
        EXPECT_TRUE(ParseTableNumber(cell, value)) << '"' << cell << '"';
        EXPECT_EQ(value, expected) << '"' << cell << '"';
    }
    // The last is a full-width digit one.
    for (const char* cell : {"+-1", "-+1", "++1", "+", "-", "", "   ", "1,5", "1 5", "1.5.2", "1e", "e3", "1.5x",
                             "x1.5", "1'000", "\xEF\xBC\x91"}) {
        double value = 0;
        EXPECT_FALSE(ParseTableNumber(cell, value)) << '"' << cell << '"';
    }
    double value = 0;
    EXPECT_TRUE(ParseTableNumber("nan", value));
    EXPECT_TRUE(std::isnan(value));
}

TEST(ReadingsTableCell, DoesNotDependOnTheLocale)
{
    testing_support::CommaDecimalLocale locale;
    if (!locale.Active())
        GTEST_SKIP() << "no comma-decimal locale is installed";
    double value = 0;
    EXPECT_TRUE(ParseTableNumber("1.25", value) && value == 1.25);
    EXPECT_FALSE(ParseTableNumber("1,25", value));
    EXPECT_EQ(Parse("0.5;1.5;2.5\n").strain, (Series{1.5}));
}

TEST(ReadingsTableFile, ReadsAnExportAndErrorsNameThePath)
{
    ExpectTable(ReadingsTable::ReadFile(std::string(PLYFORGE_TEST_DATA) + "/readings/semicolon-crlf.csv"),
                {0, 125.5, 251, 376.5}, {0, 0.05, 0.1, 0.15}, {0, 2.51, 5.02, 7.53});

    testing_support::TempDir dir;
    const std::string empty = (dir.Path() / "empty.csv").string();
    testing_support::WriteWholeFile(empty, "");
    const std::string bad = (dir.Path() / std::filesystem::u8path("측정값.csv")).string();
    testing_support::WriteWholeFile(bad, "Load,Strain,Stress\n1,2,3\n4,5,six\n");
    const std::pair<std::string, std::string> cases[] = {
        {(dir.Path() / "missing.csv").string(), ""}, {dir.Str(), "folder"}, {empty, "no rows"}, {bad, "line 3"}};
    for (const auto& [path, part] : cases) {
        SCOPED_TRACE(path);
        const std::string message = ErrorOf([&] { ReadingsTable::ReadFile(path); });
        EXPECT_EQ(message.rfind(path + ": ", 0), 0u) << message;
        EXPECT_NE(message.find(part), std::string::npos) << message;
    }
}

} // namespace
