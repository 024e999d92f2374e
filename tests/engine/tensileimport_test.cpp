// The test machine import: separators, headers, quoted and decimal-comma values,
// column choice, and the errors a broken export must give.

#include "experiment/tensileimport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Series = std::vector<double>;

ImportResult Import(const std::string& text, const ImportOptions& options = {})
{
    return TensileImport::Parse(text, "export.txt", options);
}

// The message of the ImportError the text raises, or "" when it imports.
std::string ErrorOf(const std::string& text, const ImportOptions& options = {})
{
    try {
        Import(text, options);
    } catch (const ImportError& error) {
        return error.what();
    }
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

TEST(TensileImportSeparators, CommaSemicolonAndTabAreDetected)
{
    struct Case {
        std::string text;
        char separator;
    };
    const Case cases[] = {
        {"1,2,3\n4.5,5,6\n", ','},
        {"1;2;3\n4.5;5;6\n", ';'},
        {"1\t2\t3\n4.5\t5\t6\n", '\t'},
        {"1 ; 2 ; 3\n4.5 ;5; 6", ';'}, // blanks around cells, no final line end
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const ImportResult result = Import(c.text);
        EXPECT_EQ(result.separator, c.separator);
        EXPECT_FALSE(result.decimal_comma);
        EXPECT_EQ(result.column_count, 3);
        EXPECT_EQ(result.load_column, 0);
        EXPECT_EQ(result.strain_column, 1);
        EXPECT_EQ(result.stress_column, 2);
        ExpectSeries(result, {1, 4.5}, {2, 5}, {3, 6});
    }
}

TEST(TensileImportSeparators, TabWinsWhenCommasAreOnlyInsideValues)
{
    // Comma-split cells would be "1\t2" and so on; only the tab splits into numbers.
    const ImportResult result = Import("1\t2,5\t3\n4\t5,25\t6\n");
    EXPECT_EQ(result.separator, '\t');
    EXPECT_TRUE(result.decimal_comma);
    ExpectSeries(result, {1, 4}, {2.5, 5.25}, {3, 6});
}

TEST(TensileImportSeparators, BlankAndSeparatorOnlyRowsAreSkipped)
{
    const ImportResult result = Import("Load;Strain;Stress\n\n1;2;3\n;;;\n   \n4;5;6\n\n");
    ExpectSeries(result, {1, 4}, {2, 5}, {3, 6});
}

TEST(TensileImportSeparators, TrailingEmptyCellsDoNotCount)
{
    const ImportResult result = Import("1;2;3;;\n4;5;6;\n");
    EXPECT_EQ(result.column_count, 3);
    ExpectSeries(result, {1, 4}, {2, 5}, {3, 6});
}

TEST(TensileImportText, CrlfAndBom)
{
    const ImportResult crlf = Import("Load,Strain,Stress\r\nN,%,MPa\r\n1,2,3\r\n4,5,6\r\n");
    ExpectSeries(crlf, {1, 4}, {2, 5}, {3, 6});
    EXPECT_EQ(crlf.header_names, (std::vector<std::string>{"Load", "Strain", "Stress"}));

    const ImportResult bom = Import("\xEF\xBB\xBF" "Force;Strain;Stress\r\n1;2;3\r\n");
    ExpectSeries(bom, {1}, {2}, {3});
    EXPECT_EQ(bom.header_names.front(), "Force"); // the mark is not part of the first name

    const ImportResult bom_data = Import("\xEF\xBB\xBF" "1\t2\t3\n");
    ExpectSeries(bom_data, {1}, {2}, {3});
}

TEST(TensileImportText, HeaderAndUnitLinesAreSkippedAndRemembered)
{
    const ImportResult result = Import("Test report\n"
                                       "Specimen;A-17\n"
                                       "Machine;load cell 10 kN\n"
                                       "Load;Strain;Stress\n"
                                       "N;%;MPa\n"
                                       "0;0;0\n"
                                       "100;0,1;2,5\n");
    EXPECT_EQ(result.header_names, (std::vector<std::string>{"Load", "Strain", "Stress"}));
    ExpectSeries(result, {0, 100}, {0, 0.1}, {0, 2.5});
}

TEST(TensileImportValues, QuotedValuesWithThousandsSeparators)
{
    const ImportResult result = Import("\"Load (N)\",\"Strain (%)\",\"Stress (MPa)\"\n"
                                       "\"1,004.80328\",\"0.5\",\"12\"\n"
                                       "\"12,345,678\",0.75,\"-1,000\"\n");
    EXPECT_EQ(result.separator, ',');
    EXPECT_FALSE(result.decimal_comma);
    EXPECT_EQ(result.header_names, (std::vector<std::string>{"Load (N)", "Strain (%)", "Stress (MPa)"}));
    ExpectSeries(result, {1004.80328, 12345678}, {0.5, 0.75}, {12, -1000});
}

TEST(TensileImportValues, CommasThatAreNotThousandsGroupsAreRejected)
{
    EXPECT_NE(ErrorOf("1,2,3\n\"1,04\",2,3\n").find("line 2"), std::string::npos);
    EXPECT_NE(ErrorOf("1,2,3\n\"1.5,000\",2,3\n").find("line 2"), std::string::npos);
}

TEST(TensileImportValues, DecimalCommasWithSemicolonAndTab)
{
    const ImportResult semicolon = Import("Load;Strain;Stress\n0,5;0,1234;-1,5\n2;3;4\n");
    EXPECT_EQ(semicolon.separator, ';');
    EXPECT_TRUE(semicolon.decimal_comma);
    ExpectSeries(semicolon, {0.5, 2}, {0.1234, 3}, {-1.5, 4});

    const ImportResult tab = Import("Load\tStrain\tStress\n0,5\t0,1234\t\"1,5\"\n");
    EXPECT_EQ(tab.separator, '\t');
    EXPECT_TRUE(tab.decimal_comma);
    ExpectSeries(tab, {0.5}, {0.1234}, {1.5});

    // A quoted English value in a semicolon file keeps its point.
    const ImportResult mixed = Import("1;2;\"1,004.5\"\n");
    ExpectSeries(mixed, {1}, {2}, {1004.5});
    EXPECT_FALSE(mixed.decimal_comma);
}

TEST(TensileImportValues, DecimalCommaIsNotAcceptedInCommaFiles)
{
    // In a comma file "0,5" is two cells: the rows get four columns, not three.
    const ImportResult result = Import("0,5,1,2\n1,5,2,3\n");
    EXPECT_EQ(result.separator, ',');
    EXPECT_EQ(result.column_count, 4);
    EXPECT_TRUE(result.needs_column_choice);
}

TEST(TensileImportValues, NonFiniteValuesAreRejected)
{
    EXPECT_NE(ErrorOf("1;2;3\n1;nan;3\n").find("line 2"), std::string::npos);
    EXPECT_NE(ErrorOf("1;2;3\n1;2;inf\n").find("Stress"), std::string::npos);
}

TEST(TensileImportColumns, HeaderNamesColumnsInAnotherOrder)
{
    const ImportResult result = Import("Time;Strain (%);Force (N);Stress (MPa)\n"
                                       "s;%;N;MPa\n"
                                       "0,1;0,01;10;1\n"
                                       "0,2;0,02;20;2\n");
    EXPECT_EQ(result.column_count, 4);
    EXPECT_EQ(result.load_column, 2);
    EXPECT_EQ(result.strain_column, 1);
    EXPECT_EQ(result.stress_column, 3);
    EXPECT_EQ(result.header_names,
              (std::vector<std::string>{"Time", "Strain (%)", "Force (N)", "Stress (MPa)"}));
    ExpectSeries(result, {10, 20}, {0.01, 0.02}, {1, 2});
}

TEST(TensileImportColumns, ExtensionOrElongationOnlyWithoutStrain)
{
    const ImportResult extension = Import("Extension (mm),Load (kN),Tensile stress\n1,2,3\n");
    EXPECT_EQ(extension.load_column, 1);
    EXPECT_EQ(extension.strain_column, 0);
    EXPECT_EQ(extension.stress_column, 2);
    ExpectSeries(extension, {2}, {1}, {3});

    // A strain column wins over an extension column standing before it.
    const ImportResult both = Import("LOAD\tELONGATION\tSTRAIN\tSTRESS\n1\t2\t3\t4\n");
    EXPECT_EQ(both.load_column, 0);
    EXPECT_EQ(both.strain_column, 2);
    EXPECT_EQ(both.stress_column, 3);
    ExpectSeries(both, {1}, {3}, {4});
}

TEST(TensileImportColumns, ChoiceNeededWithoutUsableHeader)
{
    const ImportResult five = Import("1;2;3;4;5\n6;7;8;9;10\n");
    EXPECT_TRUE(five.needs_column_choice);
    EXPECT_EQ(five.column_count, 5);
    EXPECT_TRUE(five.header_names.empty());
    EXPECT_TRUE(five.load.empty());

    // A header naming some series but not all three leaves the choice to the user.
    const ImportResult partial = Import("Time,Force,Stress\nN,N,MPa\n1,2,3\n");
    EXPECT_TRUE(partial.needs_column_choice);
    EXPECT_EQ(partial.column_count, 3);
    EXPECT_EQ(partial.load_column, 1);
    EXPECT_EQ(partial.header_names, (std::vector<std::string>{"Time", "Force", "Stress"}));

    const ImportResult unnamed = Import("A;B;C;D;E\n0,1;2;3;4;5\n");
    EXPECT_TRUE(unnamed.needs_column_choice);
    EXPECT_TRUE(unnamed.decimal_comma);
    EXPECT_EQ(unnamed.header_names, (std::vector<std::string>{"A", "B", "C", "D", "E"}));
}

TEST(TensileImportColumns, OptionsChooseTheColumns)
{
    ImportOptions options;
    options.load_column = 4;
    options.strain_column = 0;
    options.stress_column = 2;
    const ImportResult five = Import("1;2;3;4;5\n6;7;8;9;10\n", options);
    EXPECT_EQ(five.load_column, 4);
    ExpectSeries(five, {5, 10}, {1, 6}, {3, 8});

    // Options override a header that names the columns differently.
    ImportOptions swap;
    swap.load_column = 1;
    swap.strain_column = 0;
    const ImportResult named = Import("Load,Strain,Stress\n1,2,3\n", swap);
    ExpectSeries(named, {2}, {1}, {3});
}

TEST(TensileImportErrors, EachErrorNamesSourceAndLine)
{
    struct Case {
        const char* name;
        std::string text;
        ImportOptions options;
        std::vector<std::string> parts;
    };
    ImportOptions beyond;
    beyond.load_column = 0;
    beyond.strain_column = 1;
    beyond.stress_column = 5;
    const Case cases[] = {
        {"non-numeric cell", "Load;Strain;Stress\n1;2;3\n4;abc;6\n", {}, {"export.txt", "line 3", "Strain", "abc", "column 2"}},
        {"empty cell", "1;2;3\n4;5;6\n7;;9\n", {}, {"export.txt", "line 3", "Strain", "empty"}},
        {"too few columns", "1,2,3\n\n4,5\n", {}, {"export.txt", "line 3", "3 columns", "found 2"}},
        {"too few in the first row", "h1;h2\n1;2\n", {}, {"export.txt", "line 2", "3 columns", "found 2"}},
        {"no numeric rows", "Load;Strain;Stress\nN;%;MPa\n", {}, {"export.txt", "no rows of numbers"}},
        {"empty text", "", {}, {"export.txt", "no rows of numbers"}},
        {"column beyond the count", "x\n1;2;3;4\n", beyond, {"export.txt", "line 2", "Stress", "index 5", "4 columns"}},
        {"footer after the data", "1\t2\t3\r\n4\t5\t6\r\nEnd of test\r\n", {}, {"export.txt", "line 3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string message = ErrorOf(c.text, c.options);
        ASSERT_FALSE(message.empty());
        for (const std::string& part : c.parts)
            EXPECT_NE(message.find(part), std::string::npos) << message;
    }
}

TEST(TensileImportFiles, ReadFileImportsAndRefusesFoldersAndMissingFiles)
{
    const fs::path folder = fs::temp_directory_path() / ("plyforge_import_test_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path file = folder / "machine.csv";
    {
        std::ofstream out(file, std::ios::binary);
        out << "\xEF\xBB\xBF" "Time;Force (N);Strain (%);Stress (MPa)\r\n0;1,5;0,01;2\r\n1;3;0,02;4\r\n";
    }
    const ImportResult result = TensileImport::ReadFile(file.string());
    ExpectSeries(result, {1.5, 3}, {0.01, 0.02}, {2, 4});

    try {
        TensileImport::ReadFile(folder.string());
        ADD_FAILURE() << "a folder was read";
    } catch (const ImportError& error) {
        EXPECT_NE(std::string(error.what()).find(folder.string()), std::string::npos);
        EXPECT_NE(std::string(error.what()).find("folder"), std::string::npos);
    }
    const fs::path missing = folder / "missing.csv";
    try {
        TensileImport::ReadFile(missing.string());
        ADD_FAILURE() << "a missing file was read";
    } catch (const ImportError& error) {
        EXPECT_NE(std::string(error.what()).find(missing.string()), std::string::npos);
    }
    // Errors from the contents name the file they came from.
    {
        std::ofstream out(file, std::ios::binary);
        out << "1,2,3\n1,x,3\n";
    }
    try {
        TensileImport::ReadFile(file.string());
        ADD_FAILURE() << "a bad value was accepted";
    } catch (const ImportError& error) {
        EXPECT_NE(std::string(error.what()).find(file.string() + ": line 2"), std::string::npos);
    }
    fs::remove_all(folder);
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
    EXPECT_EQ(result.stress[rows - 1], -(rows - 1));
}
