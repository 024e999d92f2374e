#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class ReadingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A tensile test's readings as a text table of three columns, Load, Strain and
// Stress, separated by commas, semicolons or tabs. Lines before the first numeric
// row are headers; blank lines are skipped.
class ReadingsTable {
public:
    std::vector<double> load;
    std::vector<double> strain;
    std::vector<double> stress;

    // Throws ReadingsError naming the source and the line of the first bad row.
    static ReadingsTable Parse(std::string_view text, const std::string& source_name);
    static ReadingsTable ReadFile(const std::string& path);
};

// One cell of a numeric table: white space around it, an optional '+' sign.
bool ParseTableNumber(std::string_view cell, double& value);
