#include "experiment/columnnames.h"

#include "experiment/tablecells.h"

#include <cctype>

namespace {

std::string Lower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

std::string Unquote(const TableCell& cell)
{
    std::string name(cell.text);
    if (cell.quoted) {
        for (size_t pos = name.find("\"\""); pos != std::string::npos; pos = name.find("\"\"", pos + 1))
            name.erase(pos, 1);
    }
    return name;
}

} // namespace

ColumnNames ColumnNames::FindHeader(std::string_view preamble, char separator, int column_count)
{
    std::vector<TableCell> cells;
    std::string_view header, named, same_width;
    size_t header_line = 0, named_line = 0, same_width_line = 0;
    size_t pos = 0;
    size_t number = 0;
    for (TableLine line; TableCells::NextLine(preamble, pos, number, line);) {
        TableCells::Split(line.text, separator, cells);
        if (cells.size() < 2)
            continue;
        std::vector<std::string> lower;
        for (const TableCell& cell : cells)
            lower.push_back(Lower(cell.text));
        const bool wide = static_cast<int>(cells.size()) == column_count;
        if (NameSeries(lower)) {
            if (wide) {
                header = line.text;
                header_line = line.number;
                break;
            }
            if (!named.data()) {
                named = line.text;
                named_line = line.number;
            }
        }
        if (wide && !same_width.data()) {
            same_width = line.text;
            same_width_line = line.number;
        }
    }
    if (!header.data()) {
        header = named.data() ? named : same_width;
        header_line = named.data() ? named_line : same_width_line;
    }
    ColumnNames names;
    if (!header.data())
        return names;
    names.m_line = header_line;
    TableCells::Split(header, separator, cells);
    for (const TableCell& cell : cells) {
        names.m_names.push_back(Unquote(cell));
        names.m_lower.push_back(Lower(names.m_names.back()));
    }
    return names;
}

int ColumnNames::Find(std::initializer_list<const char*> words, const int taken[3]) const
{
    for (const char* word : words) {
        for (size_t c = 0; c < m_lower.size(); ++c) {
            const int column = static_cast<int>(c);
            if (column == taken[0] || column == taken[1] || column == taken[2])
                continue;
            if (m_lower[c].find(word) != std::string::npos)
                return column;
        }
    }
    return -1;
}

bool ColumnNames::NameSeries(const std::vector<std::string>& lower_names)
{
    for (const std::string& name : lower_names)
        for (const char* word : {"load", "force", "strain", "extension", "elongation", "stress"})
            if (name.find(word) != std::string::npos)
                return true;
    return false;
}
