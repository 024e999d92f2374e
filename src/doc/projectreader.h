#pragma once

#include "doc/projectdata.h"

#include <stdexcept>
#include <string>
#include <string_view>

// A project file that cannot be read: the message names the file and where.
class ProjectFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the project file format (JSON, "format": "plyforge-project", version 1).
class ProjectReader {
public:
    static constexpr int kVersion = 1;

    static ProjectData ReadFile(const std::string& path);
    // base_folder resolves relative "readings_file" paths.
    static ProjectData Parse(std::string_view text, const std::string& source_name,
                             const std::string& base_folder);
};
