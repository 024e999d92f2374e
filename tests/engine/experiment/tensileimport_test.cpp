// The one reader of readings tables, for the experiment form's import and a
// project's readings files: separators, headers, quoted and decimal-comma values,
// column choice, exact values, and the errors a broken file must give.

#include "experiment/tensileimport.h"
#include "testsupport.h"
#include "util/formattext.h"
#include "util/numbertext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace testing_support;

namespace {

using Series = std::vector<double>;
using Names = std::vector<std::string>;

ImportResult Import(const std::string& text, const ImportOptions& options = {})
{
    return TensileImport::Parse(text, "export.txt", options);
}

ImportOptions From(ReadingsSource source)
{
    ImportOptions options;
    options.source = source;
    return options;
}

void ExpectSeries(const ImportResult& result, const Series& load, const Series& strain, const Series& stress)
{
    EXPECT_FALSE(result.needs_column_choice);
    EXPECT_EQ(result.load, load);
    EXPECT_EQ(result.strain, strain);
    EXPECT_EQ(result.stress, stress);
}

} // namespace

// Every table in tests/data/readings/import against the facts its .expected file
// lists, one a line: "options L S T" and "source project" say how it is read;
// "error N" (the line, 0 for the whole text) and "message TEXT" what the error says;
// otherwise "choice" (the user must choose the columns), "separator", "decimal_comma",
// "count", "header" (names at "|"), "columns", "load_column", the "load", "strain"
// and "stress" series as read, and the "width", "thickness" and "specimen" ID the
// lines above the readings give.
TEST(TensileImport, EachTableReadsAsExpected)
{
    std::vector<std::filesystem::path> tables;
    for (const auto& entry : std::filesystem::directory_iterator(TestDataFile("readings/import")))
        if (entry.path().extension() == ".csv")
            tables.push_back(entry.path());
    std::sort(tables.begin(), tables.end());
    ASSERT_GE(tables.size(), 60u);
    for (const auto& table : tables) {
        SCOPED_TRACE(table.filename().string());
        std::map<std::string, std::string> facts;
        Names messages;
        std::istringstream lines(ReadWholeFile(std::filesystem::path(table).replace_extension(".expected")));
        for (std::string line; std::getline(lines, line);) {
            const size_t blank = std::min(line.find(' '), line.size());
            const std::string key = line.substr(0, blank), value = line.substr(std::min(blank + 1, line.size()));
            if (key == "message")
                messages.push_back(value);
            else
                facts[key] = value;
        }
        ImportOptions options;
        std::istringstream(facts["options"]) >> options.load_column >> options.strain_column >> options.stress_column;
        if (facts["source"] == "project")
            options.source = ReadingsSource::ProjectReadings;
        const std::string text = ReadWholeFile(table);
        if (facts.count("error")) {
            const std::string message = ErrorOf<ImportError>([&] { Import(text, options); });
            const std::string& line = facts["error"];
            EXPECT_TRUE(StartsWith(message, line == "0" ? "export.txt: " : "export.txt: line " + line + ": "))
                << message;
            EXPECT_LT(message.size(), 200u) << message;
            EXPECT_EQ(message.find_first_of("\r\n"), std::string::npos) << message;
            ExpectContains(message, messages);
            continue;
        }
        ImportResult result;
        try {
            result = Import(text, options);
        } catch (const ImportError& error) {
            ADD_FAILURE() << error.what();
            continue;
        }
        const auto joined = [](const auto& values, const char* between, auto text_of) {
            std::string text;
            for (const auto& value : values)
                text += (text.empty() ? "" : between) + text_of(value);
            return text;
        };
        const auto numbers = [&](const Series& values) { return joined(values, " ", ShortestNumberText); };
        const std::pair<const char*, std::string> read[] = {
            {"separator", result.separator == '\t' ? "tab" : std::string(1, result.separator)},
            {"decimal_comma", result.decimal_comma ? "yes" : "no"},
            {"count", std::to_string(result.column_count)},
            {"header", joined(result.header_names, "|", [](const std::string& name) { return name; })},
            {"columns", FormatText("%d %d %d", result.load_column, result.strain_column, result.stress_column)},
            {"load_column", std::to_string(result.load_column)},
            {"load", numbers(result.load)},
            {"strain", numbers(result.strain)},
            {"stress", numbers(result.stress)},
            {"width", ShortestNumberText(result.width)},
            {"thickness", ShortestNumberText(result.thickness)},
            {"specimen", result.specimen_name},
        };
        EXPECT_EQ(result.needs_column_choice, facts.count("choice") == 1);
        for (const auto& [key, value] : read) {
            if (facts.count(key)) {
                EXPECT_EQ(value, facts[key]) << key;
            }
        }
    }
}

TEST(TensileImport, ReadFileImportsAndErrorsNameThePath)
{
    ExpectSeries(TensileImport::ReadFile(TestDataFile("readings/semicolon-crlf.csv")),
                 {0, 125.5, 251, 376.5}, {0, 0.05, 0.1, 0.15}, {0, 2.51, 5.02, 7.53});
    TempDir dir;
    const std::string bad = (dir.Path() / std::filesystem::u8path("측정값.csv")).string();
    WriteWholeFile(bad, "1,2,3\n1,x,3\n");
    // TextFile's refusals (its own test shows a pipe is never opened), in the words of each kind of file.
    const struct {
        std::string path;
        ReadingsSource source;
        std::string part;
    } cases[] = {
        {dir.Str(), ReadingsSource::MachineExport, "is a folder, not a test machine export"},
        {(dir.Path() / "missing.csv").string(), ReadingsSource::ProjectReadings, "cannot open the readings file"},
        {"/dev/zero", ReadingsSource::MachineExport, "is not a regular file (a pipe, socket or device), not a test"},
        {bad, ReadingsSource::MachineExport, "line 2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const std::string message = ErrorOf<ImportError>([&] { TensileImport::ReadFile(c.path, From(c.source)); });
        EXPECT_EQ(message.rfind(c.path + ": ", 0), 0u) << message;
        EXPECT_NE(message.find(c.part), std::string::npos) << message;
    }
}

TEST(TensileImport, BlankLinesAskForNoMemory)
{
    // The series are reserved from the rows seen, not from the line breaks.
    const std::string text = "Load,Strain,Stress\n1,2,3\n4,5,6\n" + std::string(3'000'000, '\n');
    const ImportResult result = Import(text);
    ExpectSeries(result, {1, 4}, {2, 5}, {3, 6});
    EXPECT_LT(result.load.capacity(), 1000u);
}

// Values the project's own arrays may hold stay as the file writes them (a signed
// zero is one of the tables).
TEST(TensileImport, ProjectReadingsKeepNonFiniteValues)
{
    const ImportResult special = Import("inf;-inf;nan\n1;2;3\n", From(ReadingsSource::ProjectReadings));
    EXPECT_EQ(special.load[0], HUGE_VAL);
    EXPECT_EQ(special.strain[0], -HUGE_VAL);
    EXPECT_TRUE(std::isnan(special.stress[0]));
    EXPECT_EQ(special.stress[1], 3);
}

// Shortest round-trip texts of doubles of every size, a hundred thousand rows, with
// decimal points and with decimal commas, read alike under a comma-decimal locale.
TEST(TensileImport, ValuesReadBackExactlyUnderAnyLocale)
{
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
            std::replace(comma.begin(), comma.end(), '.', ',');
            commas += comma + '\t';
        }
        points.back() = '\r';
        points += '\n';
        commas.back() = '\n';
    }
    const auto expect_exact = [&] {
        ExpectSeries(Import(points), columns[0], columns[1], columns[2]);
        const ImportResult comma_result = Import(commas);
        EXPECT_TRUE(comma_result.decimal_comma);
        ExpectSeries(comma_result, columns[0], columns[1], columns[2]);
    };
    expect_exact();
    CommaDecimalLocale locale;
    if (locale.Active())
        expect_exact();
}

// A row whose unread first column holds an escaped quote goes the full way through
// TableCells; the same row with another first column may be read in one pass. Both
// ways must give the same values and decimal-comma flag, or the same error.
TEST(TensileImport, RowsReadInOnePassAsTableCellsReadsThem)
{
    const auto outcome = [](const std::string& text, ReadingsSource source) {
        try {
            const ImportResult result = Import(text, From(source));
            std::string values = result.decimal_comma ? "comma" : "point";
            for (const Series* series : {&result.load, &result.strain, &result.stress}) {
                for (const double value : *series) // exact, and "-0" is not "0"
                    values += ' ' + ShortestNumberText(value);
            }
            return values;
        } catch (const ImportError& error) {
            return std::string("error ") + error.what();
        }
    };
    Names cells = {"1,234.5", "-1,234.5", "+1,234.5", "1,234,567.125", "1,234", "-12,345", "1234,567", "0,000",
                   "-0,000.0", "-0", "1,000.", "1,000.5e3", "1.5e3", "-2.5E-3", "+1.5", " 1,234.5 ", "\t1.5",
                   "1,00.5", "1,0000", "1,000,00", ",123", "1,,000", "1.000,5", "1,5", "1,500", "+1,500", "+1,5", "-,5",
                   "inf", "-Infinity", "nan", "1e400", "1e-400", "1,000e400", "", " ", "1.5\"x", "1.5\"\"",
                   "\"1.5", "1;5", "1\t5", "-", "1,234.5e", "1,234.56789012345678901234567890",
                   "123,456,789,012,345,678,901,234,567,890.5"};
    std::mt19937 random(5);
    for (int i = 0; i < 200; ++i) { // grouped values of every size, as an export prints them
        char text[64];
        std::snprintf(text, sizeof text, "%.*f", int(random() % 8),
                      std::ldexp(double(random() % 1000000) - 500000, int(random() % 50) - 20));
        std::string grouped = text;
        const size_t digits_from = grouped[0] == '-' ? 1 : 0;
        for (size_t at = std::min(grouped.find('.'), grouped.size()); at > digits_from + 3; at -= 3)
            grouped.insert(at - 3, 1, ',');
        cells.push_back(grouped);
    }
    const std::string alphabet = "0123456789,.-+eE \t;\"\r";
    for (int i = 0; i < 400; ++i) { // and anything at all
        std::string text(1 + random() % 9, ' ');
        for (char& c : text)
            c = alphabet[random() % alphabet.size()];
        cells.push_back(text);
    }
    size_t read = 0;
    for (const char separator : {',', ';', '\t'}) {
        const std::string s(1, separator);
        std::string head = "Note" + s + "Time" + s + "Load" + s + "Strain" + s + "Stress\r\n";
        for (int row = 0; row < 5; ++row)
            head += "0" + s + "0" + s + "1" + s + "2" + s + "3\r\n";
        for (size_t i = 0; i < cells.size(); ++i) {
            const ReadingsSource source = i % 2 ? ReadingsSource::ProjectReadings : ReadingsSource::MachineExport;
            for (const std::string& value : {cells[i], '"' + cells[i] + '"', " \"" + cells[i] + "\" "}) {
                for (const int column : {1, 2, 4}) { // unread, first read, last read
                    const auto text = [&](const std::string& note) {
                        std::string row[5] = {note, "\"7,5\"", "-1", "2", "3"};
                        row[column] = value;
                        const std::string line = row[0] + s + row[1] + s + row[2] + s + row[3] + s + row[4] + "\r\n";
                        // Twice, so that a row running into the next shows.
                        return head + line + line + note + s + "0.5" + s + "\"1,000.25\"" + s + "4" + s + "5";
                    };
                    SCOPED_TRACE("separator '" + s + "', column " + std::to_string(column) + ": " + value);
                    const std::string one_pass = outcome(text("n"), source);
                    EXPECT_EQ(one_pass, outcome(text("\"a\"\"b\""), source));
                    read += one_pass.rfind("error", 0) != 0;
                }
            }
        }
    }
    EXPECT_GT(read, cells.size() * 9); // a third of the 27 texts a cell makes: not errors all alike
}
