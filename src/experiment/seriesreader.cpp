#include "experiment/seriesreader.h"

#include "experiment/importresult.h"
#include "util/formattext.h"
#include "util/tablenumber.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr const char* kSeriesNames[3] = {"Load", "Strain", "Stress"};
constexpr char kSeparators[3] = {'\t', ';', ','};

} // namespace

SeriesReader::SeriesReader(const std::string& source_name, char separator, const int columns[3], bool finite_only)
    : m_source(source_name), m_separator(separator), m_columns{columns[0], columns[1], columns[2]},
      m_finite_only(finite_only), m_comma_decimals(TableCells::AllowsDecimalComma(separator))
{
    for (int c = 0; c < 256; ++c)
        m_blank[c] = TableCells::IsBlank(static_cast<char>(c), separator);
    m_required = static_cast<size_t>(std::max({columns[0], columns[1], columns[2]})) + 1;
    std::fill(m_series_of_cell, m_series_of_cell + m_required, -1);
    for (int k = 0; k < 3; ++k)
        m_series_of_cell[columns[k]] = k;
}

// A cell's number with a decimal point or, where the separator allows one, a
// decimal comma. Whichever is tried first, a cell that either reads whole has the
// same value (a text with neither reads the same both ways), so a file of decimal
// commas tries the comma first once it has shown one.
inline const char* SeriesReader::ScanNumber(const char* q, const char* end, double& value, bool& comma_read) const
{
    if (!m_comma_decimals)
        return ScanTableNumber(q, end, value);
    const char first = m_commas_first ? ',' : '.';
    const char second = m_commas_first ? '.' : ',';
    char used = first;
    const char* after = ScanTableNumber(q, end, value, first);
    if (!after || (after < end && *after == second)) {
        used = second;
        after = ScanTableNumber(q, end, value, second);
    }
    if (after && used == ',' && std::memchr(q, ',', static_cast<size_t>(after - q)))
        comma_read = true;
    return after;
}

// A quoted cell's number: as unquoted, or else with thousands groups (the one
// reading a quoted cell adds). Blanks may stand inside the quotes. Either reading
// that stands is the one TableCells::ToNumber makes: a text with a comma never reads
// unquoted with a point, and a lone comma where decimal commas are allowed is never
// a group. nullptr for anything else; a quote right after the closing one (an
// escaped quote) is no separator, so the row is refused there.
inline const char* SeriesReader::ScanQuotedNumber(const char* q, const char* end, double& value,
                                                  bool& comma_read) const
{
    const auto skip_blanks = [this, end](const char* at) {
        while (at < end && m_blank[static_cast<unsigned char>(*at)])
            ++at;
        return at;
    };
    q = skip_blanks(q);
    const auto closing = [&skip_blanks, end](const char* after) -> const char* {
        after = after ? skip_blanks(after) : nullptr;
        return after && after != end && *after == '"' ? after : nullptr;
    };
    const auto grouped = [&] { return closing(ScanGroupedTableNumber(q, end, value, m_comma_decimals)); };
    // Where a comma cannot be a decimal one, a comma among the first digits makes
    // groups likely: read as such first, the digits before it are not read twice.
    const char* digits = q + (q < end && *q == '-');
    const bool grouped_first =
        !m_comma_decimals && end - digits > 3 && (digits[1] == ',' || digits[2] == ',' || digits[3] == ',');
    const char* after = grouped_first ? grouped() : nullptr;
    bool comma = false; // a decimal comma counts only once the number it was read in stands
    if (!after) {
        after = closing(ScanNumber(q, end, value, comma));
        if (!after) {
            comma = false;
            after = grouped_first ? nullptr : grouped();
        }
    }
    if (!after)
        return nullptr;
    comma_read = comma_read || comma;
    return after + 1;
}

// The row at p when every cell it needs is a number, plain or quoted (or, in a
// column nobody reads, text with no quote but the pair around it): p then moves past
// the row's line end. False, with p where it was, for anything else.
inline bool SeriesReader::ReadPlainRow(const char*& p, const char* end, double values[3], bool& decimal_comma)
{
    const char separator = m_separator;
    const auto blank = [this](char c) { return m_blank[static_cast<unsigned char>(c)]; };
    const char* q = p;
    bool comma_read = false;
    for (size_t c = 0; c < m_required; ++c) {
        while (q < end && blank(*q))
            ++q;
        const int k = m_series_of_cell[c];
        if (k < 0) {
            if (q < end && *q == '"') {
                // A separator inside the quotes belongs to the cell.
                for (++q; q < end && *q != '"'; ++q)
                    if (*q == '\n')
                        return false;
                if (q == end)
                    return false;
                ++q; // an escaped quote ("") is refused below
            }
            for (; q < end && *q != separator; ++q)
                if (*q == '"' || *q == '\n')
                    return false;
            if (q == end)
                return false;
            ++q;
            continue;
        }
        const char* after = q < end && *q == '"' ? ScanQuotedNumber(q + 1, end, values[k], comma_read)
                                                 : ScanNumber(q, end, values[k], comma_read);
        if (!after || (m_finite_only && !std::isfinite(values[k])))
            return false;
        for (q = after; q < end && blank(*q); ++q) {
        }
        if (c + 1 < m_required) {
            if (q == end || *q != separator)
                return false;
            ++q;
        }
    }
    // Cells after the last one read are not looked at.
    if (q < end && *q == separator) {
        q = static_cast<const char*>(std::memchr(q, '\n', static_cast<size_t>(end - q)));
        q = q ? q : end;
    }
    if (q < end && *q != '\n')
        return false;
    p = q < end ? q + 1 : end;
    decimal_comma = decimal_comma || comma_read;
    m_commas_first = m_commas_first || comma_read;
    return true;
}

void SeriesReader::Read(std::string_view text, size_t first_line, size_t reserve, ImportResult& result)
{
    std::vector<double>* series[3] = {&result.load, &result.strain, &result.stress};
    for (std::vector<double>* values : series)
        values->reserve(reserve);
    const char* p = text.data();
    const char* const end = p + text.size();
    for (size_t number = first_line; p < end; ++number) {
        if (*p == '\n') {
            ++p; // a blank line, the one kind of row a file can hold millions of
            continue;
        }
        double values[3];
        if (!ReadPlainRow(p, end, values, result.decimal_comma)) {
            const char* line_end = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
            line_end = line_end ? line_end : end;
            std::string_view line(p, static_cast<size_t>(line_end - p));
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            p = line_end < end ? line_end + 1 : end;
            if (!ReadRow(line, number, values, result.decimal_comma))
                continue;
        }
        for (int k = 0; k < 3; ++k)
            series[k]->push_back(values[k]);
    }
}

bool SeriesReader::ReadRow(std::string_view line, size_t number, double values[3], bool& decimal_comma)
{
    if (line.empty())
        return false;
    TableCells::Split(line, m_separator, m_cells);
    if (m_cells.empty())
        return false; // blank, or a row of separators only
    const std::string error = ReadCells(number, m_separator, values, decimal_comma);
    if (error.empty())
        return true;
    // A row written with another of the separators (tables pasted together) still
    // reads; the error names the file's own separator otherwise.
    for (const char other : kSeparators) {
        if (other != m_separator && TableCells::Split(line, other, m_cells) &&
            ReadCells(number, other, values, decimal_comma).empty())
            return true;
    }
    throw ImportError(error);
}

std::string SeriesReader::ReadCells(size_t number, char separator, double values[3], bool& decimal_comma) const
{
    if (m_cells.size() < m_required)
        return FormatText("%s: line %zu: expected at least %zu columns, found %zu", m_source.c_str(), number,
                          m_required, m_cells.size());
    bool comma_read = false;
    for (int k = 0; k < 3; ++k) {
        const TableCell& cell = m_cells[static_cast<size_t>(m_columns[k])];
        if (TableCells::ToNumber(cell, separator, m_finite_only, values[k], comma_read))
            continue;
        if (cell.text.empty())
            return FormatText("%s: line %zu: the %s value in column %d is empty", m_source.c_str(), number,
                              kSeriesNames[k], m_columns[k] + 1);
        return FormatText("%s: line %zu: the %s value \"%s\" in column %d is not a number", m_source.c_str(),
                          number, kSeriesNames[k], TableCells::Shorten(cell.text).c_str(), m_columns[k] + 1);
    }
    decimal_comma = decimal_comma || comma_read;
    return {};
}
