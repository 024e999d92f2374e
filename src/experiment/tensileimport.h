#pragma once

#include "experiment/columnnames.h"
#include "experiment/tablecells.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class ImportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Who reads the table decides the few rules that differ:
// - a test machine export goes into the experiment form, whose cells hold measured,
//   finite values; when its header does not say which columns hold the series,
//   the user is asked (ImportResult::needs_column_choice);
// - a project's readings file is read with no one to ask: when the header does not
//   name all three series, the first three of exactly three columns are Load,
//   Strain and Stress, and infinite and NaN readings stay, as in the project's own
//   arrays.
enum class ReadingsSource { MachineExport, ProjectReadings };

// Which columns of the export hold Load, Strain and Stress; zero-based indices.
// A negative index leaves that column to the header (or to the plain three-column
// order).
struct ImportOptions {
    int load_column = -1;
    int strain_column = -1;
    int stress_column = -1;
    ReadingsSource source = ReadingsSource::MachineExport;
};

struct ImportResult {
    std::vector<double> load;
    std::vector<double> strain;
    std::vector<double> stress;
    char separator = ',';
    bool decimal_comma = false; // some value was written with a decimal comma
    int column_count = 0;       // columns of the first data row
    std::vector<std::string> header_names;
    // True when the columns cannot be decided: the series are then empty and the
    // caller asks the user and imports again with ImportOptions.
    bool needs_column_choice = false;
    int load_column = -1;
    int strain_column = -1;
    int stress_column = -1;
};

// Reads a tensile test's readings as a text table, the one reader of the experiment
// form's Import, its file drop and a project's "readings_file": comma, semicolon or
// tab separated, header, unit and note lines first, values possibly quoted with
// thousands separators or written with decimal commas, the columns found from the
// header's names.
class TensileImport {
public:
    // Throws ImportError naming the source and the line of the first bad row; also
    // when memory runs out, never anything else.
    static ImportResult Parse(std::string_view text, const std::string& source_name,
                              const ImportOptions& options = {});
    // Reads only a regular file (see TextFile); errors name the path.
    static ImportResult ReadFile(const std::string& path, const ImportOptions& options = {});
    // The same through buffer, kept from one file to the next by a caller that
    // reads many (see TextFile::Read).
    static ImportResult ReadFile(const std::string& path, const ImportOptions& options, std::string& buffer);

private:
    TensileImport(std::string_view text, const std::string& source_name, const ImportOptions& options);

    ImportResult Run();
    // The steps of Run, in order.
    void FindFirstDataRow();
    void ChooseSeparator();
    void FindHeader();
    bool ChooseColumns(); // false when the user must choose
    void ReadSeries();

    // The numbers of a row split at separator, 0 when a cell is not one.
    size_t CountNumbers(std::string_view line, char separator, bool& fits);
    bool IsNumericRow(std::string_view line, char separator);
    void ReportDecimalCommas();
    [[noreturn]] void Fail(size_t line, const std::string& what) const;

    std::string_view m_text;
    const std::string& m_source;
    ImportOptions m_options;
    bool m_finite_only;
    ImportResult m_result;
    std::vector<TableCell> m_cells;
    bool m_candidates[3] = {false, false, false}; // separators that split the first data row
    std::vector<TableLine> m_sample;              // the first data row and the next few
    size_t m_next = 0;                            // where the sample goes on
    size_t m_next_number = 0;
    ColumnNames m_header;
    int m_columns[3] = {-1, -1, -1};
};
