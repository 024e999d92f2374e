#include "experiment/readingstable.h"

#include "util/formattext.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

constexpr const char* kColumnNames[3] = {"Load", "Strain", "Stress"};

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

struct SplitLine {
    std::string_view cells[3];
    size_t count = 0; // cells up to the last one that is not empty
};

// Splits one line at ',', ';' or tab. Empty cells at the end, as a spreadsheet pads
// its rows, do not count.
SplitLine SplitCells(std::string_view line)
{
    SplitLine split;
    size_t index = 0;
    size_t start = 0;
    for (size_t i = 0; i <= line.size(); ++i) {
        if (i == line.size() || line[i] == ',' || line[i] == ';' || line[i] == '\t') {
            const std::string_view cell = line.substr(start, i - start);
            if (index < 3)
                split.cells[index] = cell;
            ++index;
            if (!Trim(cell).empty())
                split.count = index;
            start = i + 1;
        }
    }
    return split;
}

std::string Shorten(std::string_view text)
{
    return text.size() <= 40 ? std::string(text) : std::string(text.substr(0, 37)) + "...";
}

} // namespace

bool ParseTableNumber(std::string_view cell, double& value)
{
    cell = Trim(cell);
    if (!cell.empty() && cell.front() == '+') {
        cell.remove_prefix(1);
        if (!cell.empty() && (cell.front() == '-' || cell.front() == '+'))
            return false;
    }
    if (cell.empty())
        return false;
    const auto result = std::from_chars(cell.data(), cell.data() + cell.size(), value);
    return result.ec == std::errc() && result.ptr == cell.data() + cell.size();
}

ReadingsTable ReadingsTable::Parse(std::string_view text, const std::string& source_name)
{
    ReadingsTable table;
    const size_t line_estimate = static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    bool in_data = false;
    size_t line_number = 0;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++line_number;
        if (Trim(line).empty())
            continue;

        const SplitLine split = SplitCells(line);
        if (split.count == 0)
            continue; // a row of separators only, as spreadsheets write empty rows
        const std::string_view* cells = split.cells;
        double values[3] = {0, 0, 0};
        bool numeric = split.count >= 3;
        for (size_t c = 0; numeric && c < 3; ++c)
            numeric = ParseTableNumber(cells[c], values[c]);

        if (!in_data) {
            if (!numeric)
                continue; // a header or unit line before the readings
            in_data = true;
            table.load.reserve(line_estimate);
            table.strain.reserve(line_estimate);
            table.stress.reserve(line_estimate);
        }
        if (split.count != 3)
            throw ReadingsError(FormatText("%s: line %zu: expected 3 columns (Load, Strain, Stress), found %zu",
                                           source_name.c_str(), line_number, split.count));
        if (!numeric) {
            for (size_t c = 0; c < 3; ++c) {
                if (!ParseTableNumber(cells[c], values[c]))
                    throw ReadingsError(FormatText("%s: line %zu: %s value \"%s\" is not a number",
                                                   source_name.c_str(), line_number, kColumnNames[c],
                                                   Shorten(Trim(cells[c])).c_str()));
            }
        }
        table.load.push_back(values[0]);
        table.strain.push_back(values[1]);
        table.stress.push_back(values[2]);
    }
    if (!in_data)
        throw ReadingsError(source_name + ": no rows of three numbers (Load, Strain, Stress) found");
    return table;
}

ReadingsTable ReadingsTable::ReadFile(const std::string& path)
{
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        throw ReadingsError(path + ": is a folder, not a readings file");
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw ReadingsError(path + ": cannot open the readings file");
    std::string text;
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (size < 0)
        throw ReadingsError(path + ": cannot read the readings file");
    if (size > 0) {
        text.resize(static_cast<size_t>(size));
        file.seekg(0, std::ios::beg);
        file.read(text.data(), size);
    }
    if (file.bad() || (size > 0 && !file))
        throw ReadingsError(path + ": cannot read the readings file");
    return Parse(text, path);
}
