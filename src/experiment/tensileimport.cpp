#include "experiment/tensileimport.h"

#include <cctype>

#include "experiment/columnnames.h"
#include "experiment/seriesreader.h"
#include "experiment/tablecells.h"
#include "util/formattext.h"
#include "util/textfile.h"

#include <algorithm>
#include <new>

namespace {

constexpr const char* kSeriesNames[3] = {"Load", "Strain", "Stress"};
// Several separators can split a line into numbers only when the others are
// blanks; the most specific one then wins.
constexpr char kSeparators[3] = {'\t', ';', ','};
// Enough rows after the first one to tell a separator that only happens to work.
constexpr size_t kSampleRows = 4;
// The series are reserved from the rows the sample promises, up to this many;
// past it they grow, so that blank lines never make the reader ask for memory.
constexpr size_t kMaxReservedRows = size_t(1) << 20;

const char* FileNoun(const ImportOptions& options)
{
    return options.source == ReadingsSource::ProjectReadings ? "readings file" : "test machine export";
}

} // namespace

TensileImport::TensileImport(std::string_view text, const std::string& source_name, const ImportOptions& options)
    : m_text(text), m_source(source_name), m_options(options),
      m_finite_only(options.source == ReadingsSource::MachineExport)
{
    if (m_text.substr(0, 3) == "\xEF\xBB\xBF")
        m_text.remove_prefix(3);
}

void TensileImport::Fail(size_t line, const std::string& what) const
{
    throw ImportError(FormatText("%s: line %zu: %s", m_source.c_str(), line, what.c_str()));
}

size_t TensileImport::CountNumbers(std::string_view line, char separator, bool& fits)
{
    fits = TableCells::Split(line, separator, m_cells);
    size_t numbers = 0;
    bool unused = false;
    for (const TableCell& cell : m_cells) {
        if (cell.text.empty())
            continue;
        double value = 0;
        if (!TableCells::ToNumber(cell, separator, m_finite_only, value, unused))
            return 0;
        ++numbers;
    }
    return numbers;
}

// A data row: at least two cells, every cell that is not empty a number.
bool TensileImport::IsNumericRow(std::string_view line, char separator)
{
    bool fits = true;
    return CountNumbers(line, separator, fits) >= 2;
}

// Everything before the first data row is header, units or notes. A row of two
// numbers before it (a specimen's width and thickness, say) is a note too; only
// when no wider row follows is it taken for the data and refused.
void TensileImport::FindFirstDataRow()
{
    size_t pos = 0;
    size_t number = 0;
    size_t narrow_line = 0;
    for (TableLine line; TableCells::NextLine(m_text, pos, number, line);) {
        if (TableCells::IsBlankLine(line.text))
            continue;
        bool found = false;
        for (int s = 0; s < 3; ++s) {
            bool fits = true;
            const bool numeric = CountNumbers(line.text, kSeparators[s], fits) >= 2;
            m_candidates[s] = numeric && m_cells.size() >= 3;
            if (m_candidates[s] && !fits)
                Fail(line.number, FormatText("more than %zu columns; a table of readings has fewer",
                                             TableCells::kMaxColumns));
            if (numeric && m_cells.size() < 3 && narrow_line == 0)
                narrow_line = line.number;
            found = found || m_candidates[s];
        }
        if (found) {
            m_sample.push_back(line);
            m_next = pos;
            m_next_number = number;
            return;
        }
    }
    if (narrow_line != 0)
        Fail(narrow_line, "expected at least 3 columns (Load, Strain, Stress), found 2");
    throw ImportError(m_source + ": no rows of numbers found (expected Load, Strain and Stress columns)");
}

// Of the separators that split the first row, the first the next rows agree with.
void TensileImport::ChooseSeparator()
{
    TableLine line;
    while (m_sample.size() <= kSampleRows && TableCells::NextLine(m_text, m_next, m_next_number, line))
        if (!TableCells::IsBlankLine(line.text))
            m_sample.push_back(line);
    const TableLine first = m_sample.front();
    int chosen = -1;
    for (int s = 0; s < 3 && chosen < 0; ++s) {
        if (!m_candidates[s])
            continue;
        TableCells::Split(first.text, kSeparators[s], m_cells);
        const size_t count = m_cells.size();
        bool consistent = true;
        for (size_t k = 1; k < m_sample.size() && consistent; ++k) {
            TableCells::Split(m_sample[k].text, kSeparators[s], m_cells);
            if (m_cells.empty())
                continue; // a row of separators only
            consistent = m_cells.size() == count && IsNumericRow(m_sample[k].text, kSeparators[s]);
        }
        if (consistent)
            chosen = s;
    }
    for (int s = 0; s < 3 && chosen < 0; ++s)
        if (m_candidates[s])
            chosen = s;
    m_result.separator = kSeparators[chosen];
    TableCells::Split(first.text, m_result.separator, m_cells);
    m_result.column_count = static_cast<int>(m_cells.size());
}

void TensileImport::FindHeader()
{
    m_header = ColumnNames::FindHeader(m_text.substr(0, m_sample.front().start), m_result.separator,
                                       m_result.column_count);
    m_result.header_names = m_header.Names();
}

// The columns: the options first, then the header's names, then plain order.
bool TensileImport::ChooseColumns()
{
    int* columns = m_columns;
    const int given[3] = {m_options.load_column, m_options.strain_column, m_options.stress_column};
    const size_t first_line = m_sample.front().number;
    for (int k = 0; k < 3; ++k) {
        columns[k] = given[k] < 0 ? -1 : given[k];
        if (columns[k] >= m_result.column_count)
            Fail(first_line, FormatText("the %s column (index %d) is beyond the %d columns of the data",
                                        kSeriesNames[k], columns[k], m_result.column_count));
    }
    if (columns[0] < 0)
        columns[0] = m_header.Find({"load", "force"}, columns);
    if (columns[2] < 0)
        columns[2] = m_header.Find({"stress"}, columns);
    if (columns[1] < 0) {
        columns[1] = m_header.Find({"strain"}, columns);
        if (columns[1] < 0)
            columns[1] = m_header.Find({"extension", "elongation"}, columns);
    }
    // A header wider than its rows (a column lost in the export, or a title line)
    // cannot say which of the columns that exist holds the series it names there.
    for (int k = 0; k < 3; ++k)
        if (columns[k] >= m_result.column_count)
            Fail(m_header.Line(),
                 FormatText("the header names %s in column %d, but the rows from line %zu hold only %d columns",
                            kSeriesNames[k], columns[k] + 1, first_line, m_result.column_count));
    bool undecided = columns[0] < 0 || columns[1] < 0 || columns[2] < 0;
    const bool nobody_to_ask = m_options.source == ReadingsSource::ProjectReadings;
    if (undecided && nobody_to_ask && m_result.column_count == 3) {
        // A project's three columns are Load, Strain and Stress unless the header
        // names all three, as such files have always been read.
        columns[0] = 0;
        columns[1] = 1;
        columns[2] = 2;
    } else if (undecided && m_result.column_count == 3 && !m_header.NamesAnySeries()) {
        // Three unnamed columns are Load, Strain and Stress in that order.
        int next = 0;
        for (int k = 0; k < 3; ++k) {
            if (columns[k] >= 0)
                continue;
            while (next == columns[0] || next == columns[1] || next == columns[2])
                ++next;
            columns[k] = next++;
        }
    }
    undecided = columns[0] < 0 || columns[1] < 0 || columns[2] < 0;
    if (undecided && nobody_to_ask)
        Fail(first_line, FormatText("found %d columns and no header line naming Load, Strain and Stress",
                                    m_result.column_count));
    m_result.load_column = columns[0];
    m_result.strain_column = columns[1];
    m_result.stress_column = columns[2];
    return !undecided;
}

// Before the choice the caller still learns how the numbers are written.
void TensileImport::ReportDecimalCommas()
{
    for (const TableLine& line : m_sample) {
        TableCells::Split(line.text, m_result.separator, m_cells);
        double value = 0;
        for (const TableCell& cell : m_cells)
            TableCells::ToNumber(cell, m_result.separator, m_finite_only, value, m_result.decimal_comma);
    }
}

void TensileImport::ReadSeries()
{
    // Rows per byte of the sample, times the bytes left; the whole text when the
    // sample reached its end.
    const size_t start = m_sample.front().start;
    const TableLine& last = m_sample.back();
    const size_t sample_bytes = last.start + last.text.size() + 1 - start;
    size_t rows = m_sample.size();
    if (m_sample.size() > kSampleRows && sample_bytes < m_text.size() - start)
        rows = static_cast<size_t>(static_cast<double>(rows) * static_cast<double>(m_text.size() - start) /
                                   static_cast<double>(sample_bytes) * 1.05) + 16;
    SeriesReader reader(m_source, m_result.separator, m_columns, m_finite_only);
    reader.Read(m_text.substr(start), m_sample.front().number, std::min(rows, kMaxReservedRows), m_result);
}

// Lines above the readings that name the specimen's width, thickness or ID in their
// first cell and give it in the second.
void TensileImport::ReadSpecimenData()
{
    const std::string_view above = m_text.substr(0, m_sample.front().start);
    size_t pos = 0, number = 0;
    for (TableLine line; TableCells::NextLine(above, pos, number, line);) {
        if (!TableCells::Split(line.text, m_result.separator, m_cells) || m_cells.size() < 2)
            continue;
        std::string key(m_cells[0].text);
        for (char& c : key)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        double value = 0;
        bool comma = false;
        if (key == "specimen id")
            m_result.specimen_name = std::string(m_cells[1].text);
        else if ((key == "width" || key == "thickness") &&
                 TableCells::ToNumber(m_cells[1], m_result.separator, true, value, comma))
            (key == "width" ? m_result.width : m_result.thickness) = value;
    }
}

ImportResult TensileImport::Run()
{
    FindFirstDataRow();
    ChooseSeparator();
    FindHeader();
    ReadSpecimenData();
    if (ChooseColumns())
        ReadSeries();
    else {
        m_result.needs_column_choice = true;
        ReportDecimalCommas();
    }
    return std::move(m_result);
}

ImportResult TensileImport::Parse(std::string_view text, const std::string& source_name, const ImportOptions& options)
{
    try {
        return TensileImport(text, source_name, options).Run();
    } catch (const std::bad_alloc&) {
        throw ImportError(source_name + ": not enough memory to read the " + FileNoun(options));
    } catch (const std::length_error&) {
        throw ImportError(source_name + ": not enough memory to read the " + FileNoun(options));
    }
}

ImportResult TensileImport::ReadFile(const std::string& path, const ImportOptions& options)
{
    std::string buffer;
    return ReadFile(path, options, buffer);
}

ImportResult TensileImport::ReadFile(const std::string& path, const ImportOptions& options, std::string& buffer)
{
    const std::string noun = FileNoun(options);
    std::string_view text;
    try {
        text = TextFile::Read(path, buffer);
    } catch (const TextFileError& error) {
        switch (error.reason()) {
        case TextFileError::Reason::Folder:
            throw ImportError(path + ": is a folder, not a " + noun);
        case TextFileError::Reason::NotRegular:
            throw ImportError(path + ": is not a regular file (a pipe, socket or device), not a " + noun);
        case TextFileError::Reason::CannotOpen:
            throw ImportError(path + ": cannot open the " + noun);
        case TextFileError::Reason::OutOfMemory:
            throw ImportError(path + ": not enough memory to read the " + noun);
        case TextFileError::Reason::TooLarge:
            throw ImportError(path + ": the " + noun + " " + error.SizeText());
        case TextFileError::Reason::CannotRead:
            break;
        }
        throw ImportError(path + ": cannot read the " + noun);
    }
    return Parse(text, path, options);
}
