#pragma once

#include <nlohmann/json_fwd.hpp>

#include <string>
#include <vector>

// The typed values of a project's JSON objects. Each throws ProjectSchemaError
// naming the path (where, then the key) and what was expected, so that the reader
// words every fault the same way.
class ProjectFields {
public:
    using json = nlohmann::json;

    [[noreturn]] static void Fail(const std::string& where, const std::string& what);
    static const json* Find(const json& object, const char* key);
    static std::string Join(const std::string& where, const char* key);

    // A number, or the texts "inf", "-inf", "nan" and "-nan" that JSON has none for.
    static bool ToDouble(const json& value, double& out);
    static double Number(const json& object, const char* key, const std::string& where);
    static double OptionalNumber(const json& object, const char* key, const std::string& where, double fallback);
    static int Integer(const json& value, const std::string& where, long long min, long long max);
    static int OptionalInteger(const json& object, const char* key, const std::string& where, int fallback,
                               long long min, long long max);
    // Empty when absent.
    static std::string Text(const json& object, const char* key, const std::string& where);
    static const json& Object(const json& object, const char* key, const std::string& where);
    static const json& Array(const json& object, const char* key, const std::string& where);
    static std::vector<double> Series(const json& object, const char* key, const std::string& where);
    // An optional "name" of at most ProjectSchema::kMaxNameLength characters.
    static std::string Name(const json& object, const std::string& where);
};
