#pragma once

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A key or name the project may not hold; where is its path ("theory.load.nx").
class ProjectSchemaError : public std::runtime_error {
public:
    ProjectSchemaError(std::string where, const std::string& what) : std::runtime_error(what), m_where(std::move(where)) {}
    const std::string& where() const { return m_where; }

private:
    std::string m_where;
};

// What a project file may hold besides values of the right type: each key once per
// object (a JSON parser keeps the last, silently replacing the first), only the keys
// this program reads (a misspelt one would read as absent, its value dropped), and
// names of bounded length.
class ProjectSchema {
public:
    // Fibre, matrix and specimen names, counted in UTF-8 code points.
    static constexpr size_t kMaxNameLength = 200;

    // Parses JSON as nlohmann::json::parse does (throwing its errors), and throws
    // ProjectSchemaError for a key given twice in one object.
    static nlohmann::json Parse(std::string_view text);
    // Throws ProjectSchemaError for the first key, in file order, that the object
    // levels of a project do not know, suggesting a known one that is close.
    static void CheckKeys(const nlohmann::json& root);
    // Empty when name is short enough, else why not.
    static std::string NameLengthProblem(std::string_view name);
    // The known key closest to key (same letters in another case first, then the
    // fewest edits, only when few), or empty.
    static std::string Suggest(std::string_view key, const std::vector<std::string_view>& known);
};
