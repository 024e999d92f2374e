#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class ImportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Which columns of the export hold Load, Strain and Stress; zero-based indices.
// A negative index leaves that column to the header (or to the plain three-column
// order).
struct ImportOptions {
    int load_column = -1;
    int strain_column = -1;
    int stress_column = -1;
};

struct ImportResult {
    std::vector<double> load;
    std::vector<double> strain;
    std::vector<double> stress;
    char separator = ',';
    bool decimal_comma = false; // some value was written with a decimal comma
    int column_count = 0;       // columns of the first data row
    std::vector<std::string> header_names;
    // True when the columns cannot be decided: the series are then empty and the
    // caller asks the user and imports again with ImportOptions.
    bool needs_column_choice = false;
    int load_column = -1;
    int strain_column = -1;
    int stress_column = -1;
};

// Reads the text export of a tensile testing machine: comma, semicolon or tab
// separated, header and unit lines first, values possibly quoted with thousands
// separators or written with decimal commas.
class TensileImport {
public:
    // Throws ImportError naming the source and the line of the first bad row.
    static ImportResult Parse(std::string_view text, const std::string& source_name,
                              const ImportOptions& options = {});
    static ImportResult ReadFile(const std::string& path, const ImportOptions& options = {});
};
