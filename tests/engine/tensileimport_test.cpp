// The test machine import: separators, headers, quoted and decimal-comma values,
// column choice, and the errors a broken export must give.

#include "experiment/tensileimport.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <string>
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
        Names parts;
    };
    const Case cases[] = {
        {"non-numeric cell", "Load;Strain;Stress\n1;2;3\n4;abc;6\n", {}, {"line 3", "Strain", "abc", "column 2"}},
        {"empty cell", "1;2;3\n4;5;6\n7;;9\n", {}, {"line 3", "Strain", "empty", "column 2"}},
        {"too few columns", "1,2,3\n\n4,5\n", {}, {"line 3", "3 columns", "found 2"}},
        {"too few in the first row", "h1;h2\n1;2\n", {}, {"line 2", "3 columns", "found 2"}},
        {"no numeric rows", "Load;Strain;Stress\nN;%;MPa\n", {}, {"no rows of numbers"}},
        {"empty text", "", {}, {"no rows of numbers"}},
        {"column beyond the count", "x\n1;2;3;4\n", {0, 1, 4}, {"line 2", "Stress", "index 4", "4 columns"}},
        {"footer after the data", "1\t2\t3\r\n4\t5\t6\r\nEnd of test\r\n", {}, {"line 3"}},
        // Commas in a quoted value are thousands separators only in groups of three.
        {"short group", "1,2,3\n\"1,04\",2,3\n", {}, {"line 2", "Load"}},
        {"group after the point", "1,2,3\n\"1.5,000\",2,3\n", {}, {"line 2", "Load"}},
        {"nan", "1;2;3\n1;nan;3\n", {}, {"line 2", "Strain"}},
        {"inf", "1;2;3\n1;2;inf\n", {}, {"line 2", "Stress"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string message = ErrorOf([&] { Import(c.text, c.options); });
        EXPECT_EQ(message.rfind("export.txt: ", 0), 0u) << message;
        for (const std::string& part : c.parts)
            EXPECT_NE(message.find(part), std::string::npos) << message;
    }
}

TEST(TensileImportFiles, ReadFileImportsAndErrorsNameThePath)
{
    testing_support::TempDir dir;
    const std::string good = (dir.Path() / "machine.csv").string();
    testing_support::WriteWholeFile(
        good, "\xEF\xBB\xBF" "Time;Force (N);Strain (%);Stress (MPa)\r\n0;1,5;0,01;2\r\n1;3;0,02;4\r\n");
    ExpectSeries(TensileImport::ReadFile(good), {1.5, 3}, {0.01, 0.02}, {2, 4});

    const std::string bad = (dir.Path() / "bad.csv").string();
    testing_support::WriteWholeFile(bad, "1,2,3\n1,x,3\n");
    const std::pair<std::string, std::string> cases[] = {
        {dir.Str(), "folder"}, {(dir.Path() / "missing.csv").string(), ""}, {bad, "line 2"}};
    for (const auto& [path, part] : cases) {
        SCOPED_TRACE(path);
        const std::string message = ErrorOf([&] { TensileImport::ReadFile(path); });
        EXPECT_EQ(message.rfind(path + ": ", 0), 0u) << message;
        EXPECT_NE(message.find(part), std::string::npos) << message;
    }
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
