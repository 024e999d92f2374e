#include "experiment/tensileimport.h"

#include "experiment/readingstable.h"
#include "util/formattext.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

constexpr const char* kSeriesNames[3] = {"Load", "Strain", "Stress"};
// Several separators can split a line into numbers only when the others are
// blanks; the most specific one then wins.
constexpr char kSeparators[3] = {'\t', ';', ','};
// Enough rows after the first one to tell a separator that only happens to work.
constexpr int kSampleRows = 4;

struct Cell {
    std::string_view text; // trimmed, without its quotes
    bool quoted = false;
};

struct Line {
    std::string_view text;
    size_t number = 0;
    size_t start = 0; // offset in the text, to restart reading there
};

class LineReader {
public:
    LineReader(std::string_view text, size_t pos = 0, size_t number = 0) : m_text(text), m_pos(pos), m_number(number) {}

    bool Next(Line& line)
    {
        if (m_pos > m_text.size())
            return false;
        size_t end = m_text.find('\n', m_pos);
        if (end == std::string_view::npos)
            end = m_text.size();
        line.start = m_pos;
        line.text = m_text.substr(m_pos, end - m_pos);
        if (!line.text.empty() && line.text.back() == '\r')
            line.text.remove_suffix(1);
        line.number = ++m_number;
        m_pos = end + 1;
        return true;
    }

private:
    std::string_view m_text;
    size_t m_pos;
    size_t m_number;
};

bool IsBlank(char c, char separator)
{
    return c == ' ' || (c == '\t' && separator != '\t') || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view text, char separator)
{
    while (!text.empty() && IsBlank(text.front(), separator))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back(), separator))
        text.remove_suffix(1);
    return text;
}

bool IsBlankLine(std::string_view line) { return Trim(line, '\0').empty(); }

// Splits one line at the separator; a separator inside double quotes is part of
// the value. Empty cells at the end, as a spreadsheet pads its rows, are dropped.
void SplitRow(std::string_view line, char separator, std::vector<Cell>& cells)
{
    cells.clear();
    size_t i = 0;
    const size_t n = line.size();
    while (true) {
        while (i < n && IsBlank(line[i], separator))
            ++i;
        Cell cell;
        size_t next = n; // position of the separator ending this cell
        if (i < n && line[i] == '"') {
            size_t j = i + 1;
            while (j < n && !(line[j] == '"' && (j + 1 >= n || line[j + 1] != '"')))
                j += line[j] == '"' ? 2 : 1;
            const size_t sep = line.find(separator, std::min(j + 1, n));
            next = sep == std::string_view::npos ? n : sep;
            if (j < n && Trim(line.substr(j + 1, next - j - 1), separator).empty()) {
                cell.text = Trim(line.substr(i + 1, j - i - 1), separator);
                cell.quoted = true;
            } else {
                // An unclosed quote or text after the closing one: keep it raw so it
                // is reported as it stands.
                cell.text = Trim(line.substr(i, next - i), separator);
            }
        } else {
            const void* found = i < n ? std::memchr(line.data() + i, separator, n - i) : nullptr;
            next = found ? static_cast<size_t>(static_cast<const char*>(found) - line.data()) : n;
            cell.text = Trim(line.substr(i, next - i), separator);
        }
        cells.push_back(cell);
        if (next >= n)
            break;
        i = next + 1;
    }
    while (!cells.empty() && cells.back().text.empty())
        cells.pop_back();
}

bool ParseFinite(std::string_view text, double& value)
{
    return ParseTableNumber(text, value) && std::isfinite(value);
}

// "1,004.80328": every comma follows a digit and starts a group of three digits,
// and the decimal point, if any, comes after the last group.
bool HasThousandsGroups(std::string_view text)
{
    bool seen_point = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '.')
            seen_point = true;
        if (text[i] != ',')
            continue;
        if (seen_point || i == 0 || !std::isdigit(static_cast<unsigned char>(text[i - 1])) || i + 3 >= text.size())
            return false;
        for (size_t k = i + 1; k <= i + 3; ++k)
            if (!std::isdigit(static_cast<unsigned char>(text[k])))
                return false;
        if (i + 4 < text.size() && std::isdigit(static_cast<unsigned char>(text[i + 4])))
            return false;
    }
    return true;
}

// The plain form goes straight to from_chars; only cells with a comma take the
// slower way through a small local copy.
bool ParseCell(const Cell& cell, bool decimal_comma_allowed, double& value, bool& used_decimal_comma)
{
    if (ParseFinite(cell.text, value))
        return true;
    const std::string_view text = cell.text;
    char buffer[64];
    if (text.size() >= sizeof buffer)
        return false;
    const size_t commas = static_cast<size_t>(std::count(text.begin(), text.end(), ','));
    if (commas == 0)
        return false;
    const bool has_point = text.find('.') != std::string_view::npos;
    size_t length = 0;
    bool decimal = false;
    if (decimal_comma_allowed && commas == 1 && !has_point) {
        for (char c : text)
            buffer[length++] = c == ',' ? '.' : c;
        decimal = true;
    } else if (cell.quoted && HasThousandsGroups(text)) {
        for (char c : text)
            if (c != ',')
                buffer[length++] = c;
    } else {
        return false;
    }
    if (!ParseFinite(std::string_view(buffer, length), value))
        return false;
    used_decimal_comma = used_decimal_comma || decimal;
    return true;
}

bool AllowsDecimalComma(char separator) { return separator != ','; }

// A data row: at least two cells, every cell that is not empty a number.
bool IsNumericRow(std::string_view line, char separator, std::vector<Cell>& cells)
{
    SplitRow(line, separator, cells);
    int numbers = 0;
    bool unused = false;
    for (const Cell& cell : cells) {
        if (cell.text.empty())
            continue;
        double value = 0;
        if (!ParseCell(cell, AllowsDecimalComma(separator), value, unused))
            return false;
        ++numbers;
    }
    return numbers >= 2;
}

std::string Shorten(std::string_view text)
{
    return text.size() <= 40 ? std::string(text) : std::string(text.substr(0, 37)) + "...";
}

std::string Lower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

std::string Unquote(const Cell& cell)
{
    std::string name(cell.text);
    if (cell.quoted) {
        for (size_t pos = name.find("\"\""); pos != std::string::npos; pos = name.find("\"\"", pos + 1))
            name.erase(pos, 1);
    }
    return name;
}

int FindColumn(const std::vector<std::string>& lower_names, std::initializer_list<const char*> words,
               const int taken[3])
{
    for (const char* word : words) {
        for (size_t c = 0; c < lower_names.size(); ++c) {
            const int column = static_cast<int>(c);
            if (column == taken[0] || column == taken[1] || column == taken[2])
                continue;
            if (lower_names[c].find(word) != std::string::npos)
                return column;
        }
    }
    return -1;
}

bool NamesAnySeries(const std::vector<std::string>& lower_names)
{
    for (const std::string& name : lower_names)
        for (const char* word : {"load", "force", "strain", "extension", "elongation", "stress"})
            if (name.find(word) != std::string::npos)
                return true;
    return false;
}

} // namespace

ImportResult TensileImport::Parse(std::string_view text, const std::string& source_name, const ImportOptions& options)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);

    ImportResult result;
    std::vector<Cell> cells;
    cells.reserve(16);

    // Find the first data row; everything before it is header, units or notes.
    std::vector<Line> preamble;
    Line first;
    bool found = false;
    bool candidates[3] = {false, false, false};
    LineReader reader(text);
    for (Line line; reader.Next(line);) {
        if (IsBlankLine(line.text))
            continue;
        for (int s = 0; s < 3; ++s)
            candidates[s] = IsNumericRow(line.text, kSeparators[s], cells);
        if (candidates[0] || candidates[1] || candidates[2]) {
            first = line;
            found = true;
            break;
        }
        preamble.push_back(line);
    }
    if (!found)
        throw ImportError(source_name + ": no rows of numbers found (expected Load, Strain and Stress columns)");

    // Of the separators that split the first row, take one the next rows agree with.
    std::vector<Line> sample{first};
    for (Line line; static_cast<int>(sample.size()) <= kSampleRows && reader.Next(line);)
        if (!IsBlankLine(line.text))
            sample.push_back(line);
    int chosen = -1;
    for (int s = 0; s < 3 && chosen < 0; ++s) {
        if (!candidates[s])
            continue;
        SplitRow(first.text, kSeparators[s], cells);
        const size_t count = cells.size();
        bool consistent = true;
        for (size_t k = 1; k < sample.size() && consistent; ++k) {
            SplitRow(sample[k].text, kSeparators[s], cells);
            if (cells.empty())
                continue; // a row of separators only
            consistent = cells.size() == count && IsNumericRow(sample[k].text, kSeparators[s], cells);
        }
        if (consistent)
            chosen = s;
    }
    for (int s = 0; s < 3 && chosen < 0; ++s)
        if (candidates[s])
            chosen = s;
    const char separator = kSeparators[chosen];
    const bool comma_allowed = AllowsDecimalComma(separator);
    result.separator = separator;
    SplitRow(first.text, separator, cells);
    result.column_count = static_cast<int>(cells.size());

    // The header: a line before the data that names a series and is as wide as the
    // data; failing that, one that names a series (a title line may mention the
    // load cell), or one as wide as the data.
    const Line* header = nullptr;
    const Line* named = nullptr;
    const Line* same_width = nullptr;
    std::vector<std::string> lower_names;
    for (const Line& line : preamble) {
        SplitRow(line.text, separator, cells);
        if (cells.size() < 2)
            continue;
        std::vector<std::string> lower;
        for (const Cell& cell : cells)
            lower.push_back(Lower(cell.text));
        const bool wide = static_cast<int>(cells.size()) == result.column_count;
        if (NamesAnySeries(lower)) {
            if (wide) {
                header = &line;
                break;
            }
            if (!named)
                named = &line;
        }
        if (wide && !same_width)
            same_width = &line;
    }
    if (!header)
        header = named ? named : same_width;
    if (header) {
        SplitRow(header->text, separator, cells);
        for (const Cell& cell : cells) {
            result.header_names.push_back(Unquote(cell));
            lower_names.push_back(Lower(result.header_names.back()));
        }
    }

    // The columns: the options first, then the header's names, then plain order.
    int columns[3] = {options.load_column, options.strain_column, options.stress_column};
    for (int k = 0; k < 3; ++k) {
        if (columns[k] < 0) {
            columns[k] = -1;
        } else if (columns[k] >= result.column_count) {
            throw ImportError(FormatText("%s: line %zu: the %s column (index %d) is beyond the %d columns of the data",
                                         source_name.c_str(), first.number, kSeriesNames[k], columns[k],
                                         result.column_count));
        }
    }
    if (columns[0] < 0)
        columns[0] = FindColumn(lower_names, {"load", "force"}, columns);
    if (columns[2] < 0)
        columns[2] = FindColumn(lower_names, {"stress"}, columns);
    if (columns[1] < 0) {
        columns[1] = FindColumn(lower_names, {"strain"}, columns);
        if (columns[1] < 0)
            columns[1] = FindColumn(lower_names, {"extension", "elongation"}, columns);
    }
    const bool undecided = columns[0] < 0 || columns[1] < 0 || columns[2] < 0;
    if (undecided && result.column_count < 3)
        throw ImportError(FormatText("%s: line %zu: expected at least 3 columns (Load, Strain, Stress), found %d",
                                     source_name.c_str(), first.number, result.column_count));
    if (undecided && result.column_count == 3 && !NamesAnySeries(lower_names)) {
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
    result.load_column = columns[0];
    result.strain_column = columns[1];
    result.stress_column = columns[2];
    if (columns[0] < 0 || columns[1] < 0 || columns[2] < 0) {
        result.needs_column_choice = true;
        for (const Line& line : sample) {
            // Tell the caller how the numbers are written even before the choice.
            SplitRow(line.text, separator, cells);
            double value = 0;
            for (const Cell& cell : cells)
                ParseCell(cell, comma_allowed, value, result.decimal_comma);
        }
        return result;
    }

    const size_t required = static_cast<size_t>(std::max({columns[0], columns[1], columns[2]})) + 1;
    const size_t line_estimate = static_cast<size_t>(std::count(text.begin() + static_cast<std::ptrdiff_t>(first.start),
                                                                text.end(), '\n')) + 1;
    result.load.reserve(line_estimate);
    result.strain.reserve(line_estimate);
    result.stress.reserve(line_estimate);
    std::vector<double>* series[3] = {&result.load, &result.strain, &result.stress};

    LineReader data(text, first.start, first.number - 1);
    for (Line line; data.Next(line);) {
        if (line.text.empty())
            continue;
        SplitRow(line.text, separator, cells);
        if (cells.empty())
            continue; // blank, or a row of separators only
        if (cells.size() < required)
            throw ImportError(FormatText("%s: line %zu: expected at least %zu columns, found %zu",
                                         source_name.c_str(), line.number, required, cells.size()));
        for (int k = 0; k < 3; ++k) {
            const Cell& cell = cells[static_cast<size_t>(columns[k])];
            double value = 0;
            if (!ParseCell(cell, comma_allowed, value, result.decimal_comma)) {
                if (cell.text.empty())
                    throw ImportError(FormatText("%s: line %zu: the %s value in column %d is empty",
                                                 source_name.c_str(), line.number, kSeriesNames[k], columns[k] + 1));
                throw ImportError(FormatText("%s: line %zu: the %s value \"%s\" in column %d is not a number",
                                             source_name.c_str(), line.number, kSeriesNames[k],
                                             Shorten(cell.text).c_str(), columns[k] + 1));
            }
            series[k]->push_back(value);
        }
    }
    return result;
}

ImportResult TensileImport::ReadFile(const std::string& path, const ImportOptions& options)
{
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        throw ImportError(path + ": is a folder, not a test machine export");
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw ImportError(path + ": cannot open the test machine export");
    std::string text;
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (size < 0)
        throw ImportError(path + ": cannot read the test machine export");
    if (size > 0) {
        text.resize(static_cast<size_t>(size));
        file.seekg(0, std::ios::beg);
        file.read(text.data(), size);
    }
    if (file.bad() || (size > 0 && !file))
        throw ImportError(path + ": cannot read the test machine export");
    return Parse(text, path, options);
}
