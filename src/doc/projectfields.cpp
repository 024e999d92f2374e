#include "doc/projectfields.h"

#include "doc/projectschema.h"
#include "util/numberparser.h"

#include <nlohmann/json.hpp>

using json = nlohmann::json;

void ProjectFields::Fail(const std::string& where, const std::string& what)
{
    throw ProjectSchemaError(where, what);
}

const json* ProjectFields::Find(const json& object, const char* key)
{
    const auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
}

std::string ProjectFields::Join(const std::string& where, const char* key)
{
    return where.empty() ? key : where + "." + key;
}

bool ProjectFields::ToDouble(const json& value, double& out)
{
    if (value.is_number()) {
        out = value.get<double>();
        return true;
    }
    // Values that JSON has no number for are written as text.
    if (value.is_string()) {
        const std::string& text = value.get_ref<const std::string&>();
        if (text == "inf" || text == "-inf" || text == "nan" || text == "-nan")
            return ParseNumber(text, out);
    }
    return false;
}

double ProjectFields::Number(const json& object, const char* key, const std::string& where)
{
    const json* value = Find(object, key);
    if (!value)
        Fail(Join(where, key), "missing required field");
    double out = 0;
    if (!ToDouble(*value, out))
        Fail(Join(where, key), "expected a number");
    return out;
}

double ProjectFields::OptionalNumber(const json& object, const char* key, const std::string& where, double fallback)
{
    return Find(object, key) ? Number(object, key, where) : fallback;
}

int ProjectFields::Integer(const json& value, const std::string& where, long long min, long long max)
{
    if (!value.is_number_integer())
        Fail(where, "expected a whole number");
    // Non-negative literals are read as unsigned, negative ones as signed.
    if (value.is_number_unsigned()) {
        const unsigned long long n = value.get<unsigned long long>();
        if (n > static_cast<unsigned long long>(max))
            Fail(where, "must be at most " + std::to_string(max));
        if (min > 0 && n < static_cast<unsigned long long>(min))
            Fail(where, "must be at least " + std::to_string(min));
        return static_cast<int>(n);
    }
    const long long n = value.get<long long>();
    if (n > max)
        Fail(where, "must be at most " + std::to_string(max));
    if (n < min)
        Fail(where, "must be at least " + std::to_string(min));
    return static_cast<int>(n);
}

int ProjectFields::OptionalInteger(const json& object, const char* key, const std::string& where, int fallback, long long min,
                            long long max)
{
    const json* value = Find(object, key);
    return value ? Integer(*value, Join(where, key), min, max) : fallback;
}

std::string ProjectFields::Text(const json& object, const char* key, const std::string& where)
{
    const json* value = Find(object, key);
    if (!value)
        return {};
    if (!value->is_string())
        Fail(Join(where, key), "expected a text");
    return value->get<std::string>();
}

const json& ProjectFields::Object(const json& object, const char* key, const std::string& where)
{
    const json* value = Find(object, key);
    if (!value)
        Fail(Join(where, key), "missing required field");
    if (!value->is_object())
        Fail(Join(where, key), "expected an object");
    return *value;
}

const json& ProjectFields::Array(const json& object, const char* key, const std::string& where)
{
    const json* value = Find(object, key);
    if (!value)
        Fail(Join(where, key), "missing required field");
    if (!value->is_array())
        Fail(Join(where, key), "expected an array");
    return *value;
}

std::vector<double> ProjectFields::Series(const json& object, const char* key, const std::string& where)
{
    const json* value = Find(object, key);
    if (!value)
        Fail(Join(where, key), "missing required field");
    if (!value->is_array())
        Fail(Join(where, key), "expected an array of numbers");
    std::vector<double> series;
    series.reserve(value->size());
    for (const json& element : *value) {
        double number = 0;
        if (!ToDouble(element, number))
            Fail(Join(where, key),
                 "expected an array of numbers (element " + std::to_string(series.size()) + " is not a number)");
        series.push_back(number);
    }
    return series;
}

std::string ProjectFields::Name(const json& object, const std::string& where)
{
    std::string name = Text(object, "name", where);
    if (const std::string problem = ProjectSchema::NameLengthProblem(name); !problem.empty())
        Fail(Join(where, "name"), problem);
    return name;
}
