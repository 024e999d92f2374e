#pragma once

#include "experiment/tablecells.h"

#include <string>
#include <string_view>
#include <vector>

struct ImportResult;

// Reads the chosen columns of every data row into Load, Strain and Stress. A row of
// numbers, plain or quoted as a machine export writes them (thousands grouped by
// commas, blanks inside the quotes), is read in one pass over its characters; any
// other row (a '+', escaped quotes, blanks or separators only, a bad or missing
// cell) goes the full way through TableCells, which decides exactly as for the
// sample rows and words the errors.
class SeriesReader {
public:
    SeriesReader(const std::string& source_name, char separator, const int columns[3], bool finite_only);

    // text starts at the first data row, line number first_line; reserve is the
    // number of rows to make room for.
    void Read(std::string_view text, size_t first_line, size_t reserve, ImportResult& result);

private:
    inline bool ReadPlainRow(const char*& p, const char* end, double values[3], bool& decimal_comma);
    inline const char* ScanNumber(const char* q, const char* end, double& value, bool& comma_read) const;
    // q just after a cell's opening quote; returns the place after its closing quote.
    inline const char* ScanQuotedNumber(const char* q, const char* end, double& value, bool& comma_read) const;
    // False for a row to skip (blank, or separators only).
    bool ReadRow(std::string_view line, size_t number, double values[3], bool& decimal_comma);
    // The row's cells (split at separator); an empty text when they read, else the error.
    std::string ReadCells(size_t number, char separator, double values[3], bool& decimal_comma) const;

    const std::string& m_source;
    char m_separator;
    int m_columns[3];
    bool m_finite_only;
    bool m_blank[256];    // TableCells::IsBlank at the separator, one look-up a character
    bool m_comma_decimals;
    bool m_commas_first = false; // a row has shown a decimal comma
    size_t m_required;         // cells a row needs: up to the rightmost column read
    int m_series_of_cell[TableCells::kMaxColumns]; // for each cell up to m_required, its series or -1
    std::vector<TableCell> m_cells;
};
