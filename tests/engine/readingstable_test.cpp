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
#include <vector>

namespace fs = std::filesystem;

namespace {

using Series = std::vector<double>;

struct GoodTable {
    const char* name;
    std::string text;
    Series load;
    Series strain;
    Series stress;
};

std::vector<GoodTable> GoodTables()
{
    return {
        {"comma", "1,2,3\n4,5,6\n", {1, 4}, {2, 5}, {3, 6}},
        {"semicolon", "1;2;3\n4;5;6\n", {1, 4}, {2, 5}, {3, 6}},
        {"tab", "1\t2\t3\n4\t5\t6\n", {1, 4}, {2, 5}, {3, 6}},
        {"no final line end", "1,2,3\n4,5,6", {1, 4}, {2, 5}, {3, 6}},
        {"CRLF", "Load,Strain,Stress\r\n1,2,3\r\n4,5,6\r\n", {1, 4}, {2, 5}, {3, 6}},
        {"CRLF on a tab table", "1\t2\t3\r\n4\t5\t6\r\n", {1, 4}, {2, 5}, {3, 6}},
        {"header and unit lines", "Load,Strain,Stress\nN,%,N/mm2\n0,0,0\n100,0.1,2.5\n", {0, 100}, {0, 0.1}, {0, 2.5}},
        {"title, empty header cells, short header", "Tensile test 2024-06-11\nSpecimen,A-3,\nLoad,Strain\n,,\n1,2,3\n",
         {1}, {2}, {3}},
        {"header with numbers in it", "Test 1;Machine 2;Run 3\n(N);(%);(MPa)\n7;8;9\n", {7}, {8}, {9}},
        {"blank lines anywhere", "\n\nLoad,Strain,Stress\n\n1,2,3\n\n   \n\t\n4,5,6\n\n\n", {1, 4}, {2, 5}, {3, 6}},
        {"leading plus", "+1,+2.5,+3e2\n", {1}, {2.5}, {300}},
        {"signs, exponents, bare points", "-1.5e-3,2E+2,.5\n-0,5.,1e-310\n", {-1.5e-3, -0.0}, {200, 5}, {0.5, 1e-310}},
        {"white space around cells", "  1 , 2 ,  3  \n 4; 5 ;6 \n", {1, 4}, {2, 5}, {3, 6}},
        {"trailing separator", "1,2,3,\n4;5;6;\n7\t8\t9\t\n", {1, 4, 7}, {2, 5, 8}, {3, 6, 9}},
        {"trailing empty cells", "1,2,3,,\n4,5,6, , \n", {1, 4}, {2, 5}, {3, 6}},
        {"one row", "0,0,0", {0}, {0}, {0}},
    };
}

TEST(ReadingsTableParse, AcceptsTheUsualExports)
{
    for (const GoodTable& good : GoodTables()) {
        SCOPED_TRACE(good.name);
        try {
            const ReadingsTable table = ReadingsTable::Parse(good.text, "t.csv");
            EXPECT_EQ(table.load, good.load);
            EXPECT_EQ(table.strain, good.strain);
            EXPECT_EQ(table.stress, good.stress);
        } catch (const ReadingsError& error) {
            ADD_FAILURE() << error.what();
        }
    }
}

TEST(ReadingsTableParse, NegativeZeroKeepsItsSign)
{
    const ReadingsTable table = ReadingsTable::Parse("-0,+0,-0.0\n", "t.csv");
    EXPECT_TRUE(std::signbit(table.load[0]));
    EXPECT_FALSE(std::signbit(table.strain[0]));
    EXPECT_TRUE(std::signbit(table.stress[0]));
}

// A spreadsheet saved as CSV pads every row to the widest column and writes empty
// rows as bare separators.
TEST(ReadingsTableParse, SpreadsheetPaddingIsNotData)
{
    try {
        const ReadingsTable table =
            ReadingsTable::Parse("Load,Strain,Stress,,,,,,,,,Operator: K.\n1,2,3,,,,,,,,,\n4,5,6,,,,,,,,,\n", "t.csv");
        EXPECT_EQ(table.load, (Series{1, 4}));
    } catch (const ReadingsError& error) {
        ADD_FAILURE() << "rows padded with empty cells: " << error.what();
    }
    try {
        const ReadingsTable table = ReadingsTable::Parse("Load,Strain,Stress\n1,2,3\n4,5,6\n,,\n,,\n", "t.csv");
        EXPECT_EQ(table.load, (Series{1, 4}));
    } catch (const ReadingsError& error) {
        ADD_FAILURE() << "empty rows written as separators: " << error.what();
    }
}

TEST(ReadingsTableParse, ValuesReadBackExactly)
{
    // Shortest round-trip texts of doubles of every size, a hundred thousand rows.
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> mantissa(-1, 1);
    std::uniform_int_distribution<int> exponent(-300, 300);
    Series load, strain, stress;
    std::string text = "Load;Strain;Stress\r\n";
    for (int i = 0; i < 100000; ++i) {
        double row[3];
        for (double& value : row) {
            value = std::ldexp(mantissa(random), exponent(random));
            char buffer[32];
            text.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
            text += ';';
        }
        text.back() = '\r';
        text += '\n';
        load.push_back(row[0]);
        strain.push_back(row[1]);
        stress.push_back(row[2]);
    }
    const ReadingsTable table = ReadingsTable::Parse(text, "big.csv");
    EXPECT_EQ(table.load, load);
    EXPECT_EQ(table.strain, strain);
    EXPECT_EQ(table.stress, stress);
}

struct BadTable {
    const char* name;
    std::string text;
    std::vector<std::string> expected; // each must appear in the message
};

std::vector<BadTable> BadTables()
{
    return {
        {"bad cell after the data started", "Load,Strain,Stress\n1,2,3\n4,x,6\n",
         {"t.csv: line 3", "Strain", "\"x\""}},
        {"bad load cell", "1,2,3\nabc,5,6\n", {"t.csv: line 2", "Load", "\"abc\""}},
        {"bad stress cell", "1,2,3\n4,5,6.6.6\n", {"t.csv: line 2", "Stress", "\"6.6.6\""}},
        {"empty cell in the data", "1,2,3\n4,,6\n", {"t.csv: line 2", "Strain"}},
        {"decimal commas split into too many cells", "1;2;3\n1,5;2,5;3,5\n", {"t.csv: line 2", "3 columns"}},
        {"header again after the data", "1,2,3\nLoad,Strain,Stress\n", {"t.csv: line 2", "Load", "\"Load\""}},
        {"line numbers count CRLF, blank and header lines",
         "\r\n\r\nLoad;Strain;Stress\r\n1;2;3\r\n\r\n4;5;x\r\n", {"t.csv: line 6", "Stress", "\"x\""}},
        {"too few columns", "1,2,3\n4,5\n", {"t.csv: line 2", "3 columns", "found 2"}},
        {"one column", "1,2,3\n\n\n4\n", {"t.csv: line 4", "3 columns", "found 1"}},
        {"too many columns", "1,2,3\n4,5,6,7\n", {"t.csv: line 2", "3 columns"}},
        {"too many columns on the first row", "Load\tStrain\tStress\n1\t2\t3\t4\n", {"t.csv: line 2", "3 columns"}},
        {"a value far to the right", "1,2,3\n4,5,6,,,,,,,,,9\n", {"t.csv: line 2", "3 columns"}},
        {"nothing numeric", "Load,Strain,Stress\nN,%,MPa\n", {"t.csv", "no rows"}},
        {"empty text", "", {"t.csv", "no rows"}},
        {"only blank lines", "\n\r\n  \n", {"t.csv", "no rows"}},
        {"numbers but never three", "1,2\n3,4\n", {"t.csv", "no rows"}},
    };
}

TEST(ReadingsTableParse, ErrorsNameTheSourceAndLine)
{
    for (const BadTable& bad : BadTables()) {
        SCOPED_TRACE(bad.name);
        try {
            ReadingsTable::Parse(bad.text, "t.csv");
            ADD_FAILURE() << "read without an error";
        } catch (const ReadingsError& error) {
            const std::string message = error.what();
            EXPECT_EQ(message.rfind("t.csv: ", 0), 0u) << message;
            for (const std::string& part : bad.expected)
                EXPECT_NE(message.find(part), std::string::npos) << "\"" << part << "\" not in: " << message;
            EXPECT_EQ(message.find('\n'), std::string::npos) << message;
            EXPECT_EQ(message.find('\r'), std::string::npos) << message;
        }
    }
}

TEST(ReadingsTableParse, LongBadCellIsShortenedInTheMessage)
{
    const std::string cell(5000, 'z');
    try {
        ReadingsTable::Parse("1,2,3\n4,5," + cell + "\n", "t.csv");
        ADD_FAILURE() << "read without an error";
    } catch (const ReadingsError& error) {
        const std::string message = error.what();
        EXPECT_LT(message.size(), 200u) << message;
        EXPECT_NE(message.find("line 2"), std::string::npos) << message;
    }
}

struct CellCase {
    const char* cell;
    bool ok;
    double value;
};

TEST(ReadingsTableCell, ParseTableNumber)
{
    const double inf = std::numeric_limits<double>::infinity();
    const CellCase cases[] = {
        {"1.5", true, 1.5},
        {" 1.5 ", true, 1.5},
        {"\t-2.5e-3\r", true, -2.5e-3},
        {"+1", true, 1},
        {" +7 ", true, 7},
        {"1e3", true, 1000},
        {"1E-3", true, 1e-3},
        {".5", true, 0.5},
        {"5.", true, 5},
        {"inf", true, inf},
        {"-inf", true, -inf},
        {"+inf", true, inf},
        {"+-1", false, 0},
        {"-+1", false, 0},
        {"++1", false, 0},
        {"+", false, 0},
        {"-", false, 0},
        {"", false, 0},
        {"   ", false, 0},
        {"1,5", false, 0},
        {"1 5", false, 0},
        {"1.5.2", false, 0},
        {"1e", false, 0},
        {"e3", false, 0},
        {"1.5x", false, 0},
        {"x1.5", false, 0},
        {"1'000", false, 0},
        {"\xEF\xBC\x91", false, 0}, // a full-width digit one
    };
    for (const CellCase& c : cases) {
        SCOPED_TRACE(std::string("cell \"") + c.cell + "\"");
        double value = -12345;
        const bool ok = ParseTableNumber(c.cell, value);
        EXPECT_EQ(ok, c.ok);
        if (c.ok && ok) {
            EXPECT_EQ(value, c.value);
        }
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
    EXPECT_TRUE(ParseTableNumber("1.25", value));
    EXPECT_EQ(value, 1.25);
    EXPECT_FALSE(ParseTableNumber("1,25", value));
    const ReadingsTable table = ReadingsTable::Parse("0.5;1.5;2.5\n", "t.csv");
    EXPECT_EQ(table.strain, (Series{1.5}));
}

TEST(ReadingsTableFile, ReadsAMachineExport)
{
    const ReadingsTable table =
        ReadingsTable::ReadFile(std::string(PLYFORGE_TEST_DATA) + "/readings/semicolon-crlf.csv");
    EXPECT_EQ(table.load, (Series{0, 125.5, 251, 376.5}));
    EXPECT_EQ(table.strain, (Series{0, 0.05, 0.1, 0.15}));
    EXPECT_EQ(table.stress, (Series{0, 2.51, 5.02, 7.53}));
}

TEST(ReadingsTableFile, ErrorsNameThePath)
{
    testing_support::TempDir dir;
    const std::string missing = (dir.Path() / "missing.csv").string();
    const std::string folder = dir.Str();
    const std::string empty = (dir.Path() / "empty.csv").string();
    testing_support::WriteWholeFile(empty, "");
    const std::string bad = (dir.Path() / fs::u8path("측정값.csv")).string();
    testing_support::WriteWholeFile(bad, "Load,Strain,Stress\n1,2,3\n4,5,six\n");

    for (const std::string& path : {missing, folder, empty, bad}) {
        SCOPED_TRACE(path);
        try {
            ReadingsTable::ReadFile(path);
            ADD_FAILURE() << "read without an error";
        } catch (const ReadingsError& error) {
            EXPECT_EQ(std::string(error.what()).rfind(path + ": ", 0), 0u) << error.what();
        } catch (const std::exception& error) {
            ADD_FAILURE() << "not a ReadingsError: " << error.what();
        }
    }
    try {
        ReadingsTable::ReadFile(bad);
    } catch (const ReadingsError& error) {
        EXPECT_NE(std::string(error.what()).find("line 3"), std::string::npos) << error.what();
    }
}

} // namespace
