#pragma once

#include <string>
#include <string_view>
#include <vector>

// One line of a text table, its line end (and a CR before it) left off.
struct TableLine {
    std::string_view text;
    size_t number = 0; // counted from 1
    size_t start = 0;  // offset in the text
};

// One cell of a text table: trimmed, without its quotes.
struct TableCell {
    std::string_view text;
    bool quoted = false;
};

// How the cells of a test machine's export are split and read as numbers: a
// separator inside double quotes belongs to the value; a quoted value may group its
// thousands with commas ("1,004.80328"); a file separated by semicolons or tabs may
// write decimal commas ("0,5").
class TableCells {
public:
    // Above this many columns a line is no table of readings a person could mean;
    // the limit keeps one long line from becoming millions of cells.
    static constexpr size_t kMaxColumns = 1000;

    // The line that starts at pos, numbered after number; pos and number move on.
    // False at the end of the text.
    static bool NextLine(std::string_view text, size_t& pos, size_t& number, TableLine& line);

    // Blanks around a cell: spaces, CR, VT, FF, and tabs unless tab separates.
    static bool IsBlank(char c, char separator)
    {
        return c == ' ' || (c == '\t' && separator != '\t') || c == '\r' || c == '\v' || c == '\f';
    }
    static std::string_view Trim(std::string_view text, char separator);
    static bool IsBlankLine(std::string_view line) { return Trim(line, '\0').empty(); }

    // Splits one line into cells. Empty cells at the end, as a spreadsheet pads its
    // rows, are dropped. False when the line has more than kMaxColumns cells up to
    // its last one that is not empty; cells then holds the first kMaxColumns + 1.
    static bool Split(std::string_view line, char separator, std::vector<TableCell>& cells);

    // The number in a cell: the table number rule first, then a decimal comma
    // (when the separator allows one) or the thousands groups of a quoted value, as
    // ScanGroupedTableNumber reads them.
    // used_decimal_comma is set when a decimal comma was read.
    static bool ToNumber(const TableCell& cell, char separator, bool finite_only, double& value,
                         bool& used_decimal_comma);

    static bool AllowsDecimalComma(char separator) { return separator != ','; }

    // "line", cut to 40 characters for a message.
    static std::string Shorten(std::string_view text);
};
