#pragma once

#include "experiment/columnnames.h"
#include "experiment/importresult.h"
#include "experiment/tablecells.h"

#include <string>
#include <string_view>
#include <vector>

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
    void ReadSpecimenData();
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
