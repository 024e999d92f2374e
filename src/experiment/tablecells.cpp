#include "experiment/tablecells.h"

#include "util/numberparser.h"
#include "util/tablenumber.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

bool ParseNumberCell(std::string_view text, bool finite_only, double& value)
{
    return ParseTableNumber(text, value) && (!finite_only || std::isfinite(value));
}

// The end of the cell that starts at i, and the cell itself.
size_t ReadCell(std::string_view line, size_t i, char separator, TableCell& cell)
{
    const size_t n = line.size();
    if (i < n && line[i] == '"') {
        size_t j = i + 1;
        while (j < n && !(line[j] == '"' && (j + 1 >= n || line[j + 1] != '"')))
            j += line[j] == '"' ? 2 : 1;
        const size_t sep = line.find(separator, std::min(j + 1, n));
        const size_t next = sep == std::string_view::npos ? n : sep;
        if (j < n && TableCells::Trim(line.substr(j + 1, next - j - 1), separator).empty()) {
            cell.text = TableCells::Trim(line.substr(i + 1, j - i - 1), separator);
            cell.quoted = true;
        } else {
            // An unclosed quote or text after the closing one: kept raw, so it is
            // reported as it stands.
            cell.text = TableCells::Trim(line.substr(i, next - i), separator);
        }
        return next;
    }
    const void* found = i < n ? std::memchr(line.data() + i, separator, n - i) : nullptr;
    const size_t next = found ? static_cast<size_t>(static_cast<const char*>(found) - line.data()) : n;
    cell.text = TableCells::Trim(line.substr(i, next - i), separator);
    return next;
}

} // namespace

bool TableCells::NextLine(std::string_view text, size_t& pos, size_t& number, TableLine& line)
{
    if (pos > text.size())
        return false;
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos)
        end = text.size();
    line.start = pos;
    line.text = text.substr(pos, end - pos);
    if (!line.text.empty() && line.text.back() == '\r')
        line.text.remove_suffix(1);
    line.number = ++number;
    pos = end + 1;
    return true;
}

std::string_view TableCells::Trim(std::string_view text, char separator)
{
    while (!text.empty() && IsBlank(text.front(), separator))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back(), separator))
        text.remove_suffix(1);
    return text;
}

bool TableCells::Split(std::string_view line, char separator, std::vector<TableCell>& cells)
{
    cells.clear();
    size_t i = 0;
    const size_t n = line.size();
    while (true) {
        while (i < n && IsBlank(line[i], separator))
            ++i;
        if (cells.size() > kMaxColumns) {
            // Past the limit only an end of blanks and separators keeps the line.
            for (; i < n; ++i)
                if (line[i] != separator && !IsBlank(line[i], separator))
                    return false;
            break;
        }
        TableCell cell;
        const size_t next = ReadCell(line, i, separator, cell);
        cells.push_back(cell);
        if (next >= n)
            break;
        i = next + 1;
    }
    while (!cells.empty() && cells.back().text.empty())
        cells.pop_back();
    return cells.size() <= kMaxColumns;
}

bool TableCells::ToNumber(const TableCell& cell, char separator, bool finite_only, double& value,
                          bool& used_decimal_comma)
{
    const std::string_view text = cell.text;
    if (ParseNumberCell(text, finite_only, value))
        return true;
    const size_t comma = text.find(',');
    if (comma == std::string_view::npos)
        return false;
    const bool lone_comma = text.find(',', comma + 1) == std::string_view::npos;
    if (AllowsDecimalComma(separator) && lone_comma && text.find('.') == std::string_view::npos) {
        std::string plain(text);
        plain[comma] = '.';
        if (!ParseNumberCell(plain, finite_only, value))
            return false;
        used_decimal_comma = true;
        return true;
    }
    if (!cell.quoted)
        return false;
    // Where tab separates the cells a tab inside the quotes is still left; the number
    // rule takes it off as it does around any cell.
    const std::string_view number = Trim(text, '\0');
    const char* const end = number.data() + number.size();
    double grouped = 0;
    if (ScanGroupedTableNumber(number.data(), end, grouped, AllowsDecimalComma(separator)) != end)
        return false;
    value = grouped; // digits only: always finite
    return true;
}

std::string TableCells::Shorten(std::string_view text)
{
    return text.size() <= 40 ? std::string(text) : std::string(text.substr(0, 37)) + "...";
}
