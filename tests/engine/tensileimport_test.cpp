// The one reader of readings tables, for the experiment form's import and a
// project's readings files: separators, headers, quoted and decimal-comma values,
// column choice, exact values, and the errors a broken file must give.

#include "experiment/tensileimport.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Series = std::vector<double>;
using Names = std::vector<std::string>;

ImportResult Import(const std::string& text, const ImportOptions& options = {})
{
    return TensileImport::Parse(text, "export.txt", options);
}

ImportOptions ProjectReadings()
{
    ImportOptions options;
    options.source = ReadingsSource::ProjectReadings;
    return options;
}

// The message of the ImportError the call raises; a failure when it raises none.
template <typename Call>
std::string ErrorOf(Call call)
{
    try {
        call();
    } catch (const ImportError& error) {
        return error.what();
    }
    ADD_FAILURE() << "imported without an error";
    return "";
}

void ExpectSeries(const ImportResult& result, const Series& load, const Series& strain, const Series& stress)
{
    EXPECT_FALSE(result.needs_column_choice);
    EXPECT_EQ(result.load, load);
    EXPECT_EQ(result.strain, strain);
    EXPECT_EQ(result.stress, stress);
}

} // namespace

TEST(TensileImportFormats, ThreeColumnExports)
{
    struct Case {
        const char* name;
        std::string text;
        char separator;
        bool decimal_comma;
        Series load, strain, stress;
        Names header;
    };
    const Names lss{"Load", "Strain", "Stress"};
    const Case cases[] = {
        {"comma", "1,2,3\n4.5,5,6\n", ',', false, {1, 4.5}, {2, 5}, {3, 6}, {}},
        {"semicolon", "1;2;3\n4.5;5;6\n", ';', false, {1, 4.5}, {2, 5}, {3, 6}, {}},
        {"tab", "1\t2\t3\n4.5\t5\t6\n", '\t', false, {1, 4.5}, {2, 5}, {3, 6}, {}},
        {"blanks around cells, no final line end", "1 ; 2 ; 3\n4.5 ;5; 6", ';', false, {1, 4.5}, {2, 5}, {3, 6}, {}},
        // Comma-split cells would be "1\t2" and so on; only the tab splits into numbers.
        {"commas only inside values", "1\t2,5\t3\n4\t5,25\t6\n", '\t', true, {1, 4}, {2.5, 5.25}, {3, 6}, {}},
        {"blank and separator-only rows", "Load;Strain;Stress\n\n1;2;3\n;;;\n   \n4;5;6\n\n", ';', false,
         {1, 4}, {2, 5}, {3, 6}, lss},
        {"trailing empty cells", "1;2;3;;\n4;5;6;\n", ';', false, {1, 4}, {2, 5}, {3, 6}, {}},
        {"CRLF, units", "Load,Strain,Stress\r\nN,%,MPa\r\n1,2,3\r\n4,5,6\r\n", ',', false, {1, 4}, {2, 5}, {3, 6}, lss},
        // The byte order mark is not part of the first name.
        {"BOM before the header", "\xEF\xBB\xBF" "Force;Strain;Stress\r\n1;2;3\r\n", ';', false, {1}, {2}, {3},
         {"Force", "Strain", "Stress"}},
        {"BOM before the data", "\xEF\xBB\xBF" "1\t2\t3\n", '\t', false, {1}, {2}, {3}, {}},
        {"notes, header and units",
         "Test report\nSpecimen;A-17\nMachine;load cell 10 kN\nLoad;Strain;Stress\nN;%;MPa\n0;0;0\n100;0,1;2,5\n", ';',
         true, {0, 100}, {0, 0.1}, {0, 2.5}, lss},
        {"quoted, thousands separators",
         "\"Load (N)\",\"Strain (%)\",\"Stress (MPa)\"\n"
         "\"1,004.80328\",\"0.5\",\"12\"\n\"12,345,678\",0.75,\"-1,000\"\n",
         ',', false, {1004.80328, 12345678}, {0.5, 0.75}, {12, -1000}, {"Load (N)", "Strain (%)", "Stress (MPa)"}},
        {"decimal commas, semicolon", "Load;Strain;Stress\n0,5;0,1234;-1,5\n2;3;4\n", ';', true, {0.5, 2}, {0.1234, 3},
         {-1.5, 4}, lss},
        // Once a comma has been read, points still read as points.
        {"points after decimal commas", "Load;Strain;Stress\n0,5;1;2\n1.5;2,5;-3e1\n1,5e1;.5;,5\n", ';', true,
         {0.5, 1.5, 15}, {1, 2.5, 0.5}, {2, -30, 0.5}, lss},
        {"decimal commas, tab", "Load\tStrain\tStress\n0,5\t0,125\t\"1,5\"\n", '\t', true, {0.5}, {0.125}, {1.5}, lss},
        // A quoted English value in a semicolon file keeps its point.
        {"quoted thousands, semicolon", "1;2;\"1,004.5\"\n", ';', false, {1}, {2}, {1004.5}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ImportResult result = Import(c.text);
        EXPECT_EQ(result.separator, c.separator);
        EXPECT_EQ(result.decimal_comma, c.decimal_comma);
        EXPECT_EQ(result.header_names, c.header);
        EXPECT_EQ(result.column_count, 3);
        EXPECT_EQ(std::make_tuple(result.load_column, result.strain_column, result.stress_column),
                  std::make_tuple(0, 1, 2));
        ExpectSeries(result, c.load, c.strain, c.stress);
    }
}

TEST(TensileImportColumns, OptionsThenHeaderNamesPickTheColumns)
{
    struct Case {
        const char* name;
        std::string text;
        ImportOptions options;
        int load_column, strain_column, stress_column;
        Series load, strain, stress;
    };
    const Case cases[] = {
        {"header in another order", "Time;Strain (%);Force (N);Stress (MPa)\ns;%;N;MPa\n0,1;0,01;10;1\n0,2;0,02;20;2\n",
         {}, 2, 1, 3, {10, 20}, {0.01, 0.02}, {1, 2}},
        {"extension without strain", "Extension (mm),Load (kN),Tensile stress\n1,2,3\n", {}, 1, 0, 2, {2}, {1}, {3}},
        // A strain column wins over an extension column standing before it.
        {"strain over elongation", "LOAD\tELONGATION\tSTRAIN\tSTRESS\n1\t2\t3\t4\n", {}, 0, 2, 3, {1}, {3}, {4}},
        {"options, no header", "1;2;3;4;5\n6;7;8;9;10\n", {4, 0, 2}, 4, 0, 2, {5, 10}, {1, 6}, {3, 8}},
        {"options over the header", "Load,Strain,Stress\n1,2,3\n", {1, 0, -1}, 1, 0, 2, {2}, {1}, {3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ImportResult result = Import(c.text, c.options);
        EXPECT_EQ(std::make_tuple(result.load_column, result.strain_column, result.stress_column),
                  std::make_tuple(c.load_column, c.strain_column, c.stress_column));
        ExpectSeries(result, c.load, c.strain, c.stress);
    }
}

TEST(TensileImportColumns, ChoiceNeededWithoutUsableHeader)
{
    struct Case {
        const char* name;
        std::string text;
        char separator;
        int column_count;
        bool decimal_comma; // told before the choice, so the dialog can show the numbers
        int load_column;
        Names header;
    };
    const Case cases[] = {
        {"five unnamed columns", "1;2;3;4;5\n6;7;8;9;10\n", ';', 5, false, -1, {}},
        // Naming some series but not all three leaves the choice to the user.
        {"partial header", "Time,Force,Stress\nN,N,MPa\n1,2,3\n", ',', 3, false, 1, {"Time", "Force", "Stress"}},
        {"letters for names", "A;B;C;D;E\n0,1;2;3;4;5\n", ';', 5, true, -1, {"A", "B", "C", "D", "E"}},
        // In a comma file "0,5" is two cells: four columns, not three decimal values.
        {"decimal commas in a comma file", "0,5,1,2\n1,5,2,3\n", ',', 4, false, -1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ImportResult result = Import(c.text);
        EXPECT_TRUE(result.needs_column_choice);
        EXPECT_EQ(result.separator, c.separator);
        EXPECT_EQ(result.column_count, c.column_count);
        EXPECT_EQ(result.decimal_comma, c.decimal_comma);
        EXPECT_EQ(result.load_column, c.load_column);
        EXPECT_EQ(result.header_names, c.header);
        EXPECT_TRUE(result.load.empty() && result.strain.empty() && result.stress.empty());
    }
}

TEST(TensileImportErrors, EachErrorNamesSourceAndLine)
{
    struct Case {
        const char* name;
        std::string text;
        ImportOptions options;
        size_t line; // 0 when the error is about the whole text
        Names parts;
    };
    const std::string wide_row = [] {
        std::string row = "1";
        for (int i = 0; i < 2000; ++i)
            row += ",2";
        return row + "\n";
    }();
    const Case cases[] = {
        {"non-numeric cell", "Load;Strain;Stress\n1;2;3\n4;abc;6\n", {}, 3, {"Strain", "\"abc\"", "column 2"}},
        {"bad stress cell", "1,2,3\n4,5,6.6.6\n", {}, 2, {"Stress", "\"6.6.6\"", "column 3"}},
        {"empty cell", "1;2;3\n4;5;6\n7;;9\n", {}, 3, {"Strain", "empty", "column 2"}},
        {"header again after the data", "1,2,3\nLoad,Strain,Stress\n", {}, 2, {"Load", "\"Load\""}},
        {"CRLF, blank and header lines counted", "\r\n\r\nLoad;Strain;Stress\r\n1;2;3\r\n\r\n4;5;x\r\n", {}, 6,
         {"\"x\""}},
        // A long bad cell is shortened to keep the message readable.
        {"long bad cell", "1,2,3\n4,5," + std::string(5000, 'z') + "\n", {}, 2, {"Stress", "zzz..."}},
        {"too few columns", "1,2,3\n\n4,5\n", {}, 3, {"3 columns", "found 2"}},
        {"one column", "1,2,3\n\n\n4\n", {}, 4, {"3 columns", "found 1"}},
        {"too few in the first row", "h1;h2\n1;2\n", {}, 2, {"3 columns", "found 2"}},
        {"numbers but never three", "1,2\n3,4\n", {}, 1, {"3 columns", "found 2"}},
        {"no numeric rows", "Load;Strain;Stress\nN;%;MPa\n", {}, 0, {"no rows of numbers"}},
        {"empty text", "", {}, 0, {"no rows of numbers"}},
        {"only blank lines", "\n\r\n  \n", {}, 0, {"no rows of numbers"}},
        {"column beyond the count", "x\n1;2;3;4\n", {0, 1, 4}, 2, {"Stress", "index 4", "4 columns"}},
        {"footer after the data", "1\t2\t3\r\n4\t5\t6\r\nEnd of test\r\n", {}, 3, {"found 1"}},
        // Commas in a quoted value are thousands separators only in groups of three.
        {"short group", "1,2,3\n\"1,04\",2,3\n", {}, 2, {"Load"}},
        {"group after the point", "1,2,3\n\"1.5,000\",2,3\n", {}, 2, {"Load"}},
        // The form holds measured values only; a project keeps what its file says.
        {"nan", "1;2;3\n1;nan;3\n", {}, 2, {"Strain"}},
        {"inf", "1;2;3\n1;2;inf\n", {}, 2, {"Stress"}},
        {"beyond double's range", "1;2;3\n1;2;1e400\n", ProjectReadings(), 2, {"Stress", "1e400"}},
        {"below double's range", "1;2;3\n1;1e-400;3\n", ProjectReadings(), 2, {"Strain", "1e-400"}},
        // One line of thousands of cells is no table of readings.
        {"absurd column count", wide_row, {}, 1, {"more than 1000 columns"}},
        {"absurd count in a project", "Load,Strain,Stress\n" + wide_row, ProjectReadings(), 2, {"1000 columns"}},
        {"unnamed columns in a project", "1;2;3;4\n", ProjectReadings(), 1, {"4 columns", "no header"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string message = ErrorOf([&] { Import(c.text, c.options); });
        const std::string prefix = c.line ? "export.txt: line " + std::to_string(c.line) + ": " : "export.txt: ";
        EXPECT_EQ(message.rfind(prefix, 0), 0u) << message;
        EXPECT_LT(message.size(), 200u) << message;
        EXPECT_EQ(message.find_first_of("\r\n"), std::string::npos) << message;
        for (const std::string& part : c.parts)
            EXPECT_NE(message.find(part), std::string::npos) << message;
    }
}

TEST(TensileImportFiles, ReadFileImportsAndErrorsNameThePath)
{
    ExpectSeries(TensileImport::ReadFile(std::string(PLYFORGE_TEST_DATA) + "/readings/semicolon-crlf.csv"),
                 {0, 125.5, 251, 376.5}, {0, 0.05, 0.1, 0.15}, {0, 2.51, 5.02, 7.53});

    testing_support::TempDir dir;
    const std::string good = (dir.Path() / "machine.csv").string();
    testing_support::WriteWholeFile(
        good, "\xEF\xBB\xBF" "Time;Force (N);Strain (%);Stress (MPa)\r\n0;1,5;0,01;2\r\n1;3;0,02;4\r\n");
    ExpectSeries(TensileImport::ReadFile(good), {1.5, 3}, {0.01, 0.02}, {2, 4});

    const std::string bad = (dir.Path() / std::filesystem::u8path("측정값.csv")).string();
    testing_support::WriteWholeFile(bad, "1,2,3\n1,x,3\n");
    const std::string empty = (dir.Path() / "empty.csv").string();
    testing_support::WriteWholeFile(empty, "");
    // A FIFO would block the open until some writer came; it is refused unopened.
    const std::string fifo = (dir.Path() / "pipe.csv").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const testing_support::FifoWriterGuard guard(fifo);
    const struct {
        std::string path;
        ReadingsSource source;
        std::string part;
    } cases[] = {
        {dir.Str(), ReadingsSource::MachineExport, "is a folder, not a test machine export"},
        {dir.Str(), ReadingsSource::ProjectReadings, "is a folder, not a readings file"},
        {(dir.Path() / "missing.csv").string(), ReadingsSource::MachineExport, "cannot open the test machine export"},
        {(dir.Path() / "missing.csv").string(), ReadingsSource::ProjectReadings, "cannot open the readings file"},
        {fifo, ReadingsSource::MachineExport, "not a regular file"},
        {fifo, ReadingsSource::ProjectReadings, "not a regular file"},
        {"/dev/zero", ReadingsSource::ProjectReadings, "not a regular file"},
        {bad, ReadingsSource::MachineExport, "line 2"},
        {empty, ReadingsSource::ProjectReadings, "no rows"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        ImportOptions options;
        options.source = c.source;
        const std::string message = ErrorOf([&] { TensileImport::ReadFile(c.path, options); });
        EXPECT_EQ(message.rfind(c.path + ": ", 0), 0u) << message;
        EXPECT_NE(message.find(c.part), std::string::npos) << message;
    }
    EXPECT_FALSE(guard.WasOpened());
}

TEST(TensileImportFiles, LargeTableKeepsEveryRow)
{
    std::string text = "Load;Strain;Stress\n";
    const int rows = 20000;
    for (int i = 0; i < rows; ++i)
        text += std::to_string(i) + ";" + std::to_string(i % 7) + ",5;" + std::to_string(-i) + "\n";
    const ImportResult result = Import(text);
    ASSERT_EQ(result.load.size(), static_cast<size_t>(rows));
    EXPECT_EQ(result.load.back(), rows - 1);
    EXPECT_EQ(result.strain[8], 1.5);
    EXPECT_EQ(result.stress.back(), -(rows - 1));
}

TEST(TensileImportFiles, BlankLinesAskForNoMemory)
{
    // The series are reserved from the rows seen, not from the line breaks.
    const std::string text = "Load,Strain,Stress\n1,2,3\n4,5,6\n" + std::string(3'000'000, '\n');
    const ImportResult result = Import(text);
    ExpectSeries(result, {1, 4}, {2, 5}, {3, 6});
    EXPECT_LT(result.load.capacity(), 1000u);
    EXPECT_LT(result.stress.capacity(), 1000u);
}

TEST(TensileImportProjectReadings, ReadsWhatProjectsHaveAlwaysRead)
{
    struct Case {
        const char* name;
        std::string text;
        Series load, strain, stress;
    };
    const Series l{1, 4}, s{2, 5}, t{3, 6}; // the two rows most cases hold
    const Case cases[] = {
        {"notes, empty cells, short header", "Test 2024-06-11\nSpecimen,A-3,\nLoad,Strain\n,,\n1,2,3\n", {1}, {2}, {3}},
        {"header with numbers in it", "Test 1;Machine 2;Run 3\n(N);(%);(MPa)\n7;8;9\n", {7}, {8}, {9}},
        // A header naming only some series leaves the plain order.
        {"partial header", "Time,Force,Stress\n1,2,3\n", {1}, {2}, {3}},
        {"signs, exponents, bare points", "+1,+2.5,+3e2\n-1.5e-3,2E+2,.5\n-0,5.,1e-310\n", {1, -1.5e-3, -0.0},
         {2.5, 200, 5}, {300, 0.5, 1e-310}},
        {"blank lines anywhere", "\n\nLoad,Strain,Stress\n\n1,2,3\n\n   \n\t\n4,5,6\n\n\n", l, s, t},
        // Tables pasted together: each row may use its own separator.
        {"mixed separators", "  1 , 2 ,  3  \n 4; 5 ;6 \n", l, s, t},
        {"trailing separators", "1,2,3,\n4;5;6;\n", l, s, t},
        {"trailing empty cells", "1\t2\t3\t\t\n4,5,6, , \n", l, s, t},
        // A spreadsheet saved as CSV pads every row to the widest column.
        {"padded rows", "Load,Strain,Stress,,,,,,,,,Operator: K.\n1,2,3,,,,,,,,,\n4,5,6,,,,,,,,,\n", l, s, t},
        {"a row of two numbers before the data", "Width;Thickness\n25;2\nLoad;Strain;Stress\n1;2;3\n4;5;6\n", l, s,
         t},
        {"named in another order", "Stress;Strain;Load\n3;2;1\n6;5;4\n", l, s, t},
        {"more columns, named", "Time;Force (N);Strain (%);Stress (MPa)\n0;1;2;3\n1;4;5;6\n", l, s, t},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            ExpectSeries(Import(c.text, ProjectReadings()), c.load, c.strain, c.stress);
        } catch (const ImportError& error) {
            ADD_FAILURE() << error.what();
        }
    }
    const ImportResult zeros = Import("-0,+0,-0.0\n", ProjectReadings()); // == does not see the sign of zero
    EXPECT_TRUE(std::signbit(zeros.load[0]) && !std::signbit(zeros.strain[0]) && std::signbit(zeros.stress[0]));
    // Values the project's own arrays may hold stay as the file writes them.
    const ImportResult special = Import("inf;-inf;nan\n1;2;3\n", ProjectReadings());
    EXPECT_EQ(special.load[0], HUGE_VAL);
    EXPECT_EQ(special.strain[0], -HUGE_VAL);
    EXPECT_TRUE(std::isnan(special.stress[0]));
    EXPECT_EQ(special.stress[1], 3);
}

TEST(TensileImportFormats, ValuesReadBackExactly)
{
    // Shortest round-trip texts of doubles of every size, a hundred thousand rows,
    // with decimal points and with decimal commas.
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> mantissa(-1, 1);
    std::uniform_int_distribution<int> exponent(-300, 300);
    Series columns[3];
    std::string points = "Load;Strain;Stress\r\n";
    std::string commas = "Load\tStrain\tStress\n";
    for (int i = 0; i < 100000; ++i) {
        for (Series& column : columns) {
            column.push_back(std::ldexp(mantissa(random), exponent(random)));
            char buffer[32];
            const std::string number(buffer, std::to_chars(buffer, buffer + sizeof buffer, column.back()).ptr);
            points += number + ';';
            std::string comma = number;
            for (char& c : comma)
                c = c == '.' ? ',' : c;
            commas += comma + '\t';
        }
        points.back() = '\r';
        points += '\n';
        commas.back() = '\n';
    }
    ExpectSeries(Import(points), columns[0], columns[1], columns[2]);
    const ImportResult comma_result = Import(commas);
    EXPECT_TRUE(comma_result.decimal_comma);
    ExpectSeries(comma_result, columns[0], columns[1], columns[2]);
}

TEST(TensileImportFormats, DoesNotDependOnTheLocale)
{
    testing_support::CommaDecimalLocale locale;
    if (!locale.Active())
        GTEST_SKIP() << "no comma-decimal locale is installed";
    ExpectSeries(Import("0.5;1.5;2.5\n"), {0.5}, {1.5}, {2.5});
    ExpectSeries(Import("0,5;1,5;2,5\n"), {0.5}, {1.5}, {2.5});
}
