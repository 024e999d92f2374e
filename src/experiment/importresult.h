#pragma once

#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

// What reading a table of readings gives and takes: its error, who reads it,
// the columns asked for and the series read. The reader's steps share them.
class ImportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Who reads the table decides the few rules that differ:
// - a test machine export goes into the experiment form, whose cells hold measured,
//   finite values; when its header does not say which columns hold the series,
//   the user is asked (ImportResult::needs_column_choice);
// - a project's readings file is read with no one to ask: when the header does not
//   name all three series, the first three of exactly three columns are Load,
//   Strain and Stress, and infinite and NaN readings stay, as in the project's own
//   arrays.
enum class ReadingsSource { MachineExport, ProjectReadings };

// Which columns of the export hold Load, Strain and Stress; zero-based indices.
// A negative index leaves that column to the header (or to the plain three-column
// order).
struct ImportOptions {
    int load_column = -1;
    int strain_column = -1;
    int stress_column = -1;
    ReadingsSource source = ReadingsSource::MachineExport;
};

struct ImportResult {
    std::vector<double> load;
    std::vector<double> strain;
    std::vector<double> stress;
    char separator = ',';
    bool decimal_comma = false; // some value was written with a decimal comma
    int column_count = 0;       // columns of the first data row
    std::vector<std::string> header_names;
    // What a testing machine may write about the specimen above its readings
    // ("Width,"10.05000",mm", "Thickness,...", "Specimen ID,"A-17""); NaN and empty
    // when it does not.
    double width = std::numeric_limits<double>::quiet_NaN();
    double thickness = std::numeric_limits<double>::quiet_NaN();
    std::string specimen_name;
    // True when the columns cannot be decided: the series are then empty and the
    // caller asks the user and imports again with ImportOptions.
    bool needs_column_choice = false;
    int load_column = -1;
    int strain_column = -1;
    int stress_column = -1;
};
