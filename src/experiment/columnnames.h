#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// The names a table's header line gives its columns, and the series they name:
// Load (or Force), Strain (else Extension or Elongation) and Stress, in any case.
class ColumnNames {
public:
    // The header among the lines before the data: one that names a series and is
    // as wide as the data; failing that, one that names a series (a title line may
    // mention the load cell), or one as wide as the data. No names when none is.
    static ColumnNames FindHeader(std::string_view preamble, char separator, int column_count);

    const std::vector<std::string>& Names() const { return m_names; }
    // The header's line in the preamble, counted from 1; 0 when there is none.
    size_t Line() const { return m_line; }
    bool NamesAnySeries() const { return NameSeries(m_lower); }
    // The first column, not taken, whose name holds one of the words (tried in
    // order); -1 for none.
    int Find(std::initializer_list<const char*> words, const int taken[3]) const;

private:
    static bool NameSeries(const std::vector<std::string>& lower_names);

    std::vector<std::string> m_names;
    std::vector<std::string> m_lower;
    size_t m_line = 0;
};
