#pragma once
// What the project fuzzers share.

#include <string_view>

// A project naming a readings file with a path in it could reach files that are no
// business of a fuzzer: such an input is skipped, so readings files are looked up
// in the fuzzer's own folder only.
inline bool ReachesOutsideFuzzFolder(std::string_view project)
{
    return project.find("readings_file") != std::string_view::npos &&
           (project.find('/') != std::string_view::npos || project.find('\\') != std::string_view::npos);
}
