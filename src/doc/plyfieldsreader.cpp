#include "doc/plyfieldsreader.h"

#include "theory/lamina.h"

#include <nlohmann/json.hpp>

#include <limits>

// A ply given by its own constants, in place of fibre, matrix, FAW and xi.
void PlyFieldsReader::ReadPlyConstants(const json& item, const std::string& where, Lamina& lamina)
{
    for (const char* key : {"fiber", "matrix", "FAW", "xi"}) {
        if (Find(item, key))
            Fail(Join(where, key), "a lamina given by its ply constants has no fiber, matrix, FAW or xi");
    }
    const std::string at = Join(where, "ply");
    const json& ply = Object(item, "ply", where);
    lamina.source = LaminaSource::PlyConstants;
    lamina.ply.E1 = Number(ply, "E1", at);
    lamina.ply.E2 = Number(ply, "E2", at);
    lamina.ply.G12 = Number(ply, "G12", at);
    lamina.ply.nu12 = Number(ply, "nu12", at);
    lamina.ply.nu23 = OptionalNumber(ply, "nu23", at, 0.3);
    lamina.ply.density = OptionalNumber(item, "density", where, std::numeric_limits<double>::quiet_NaN());
    ReadSources(ply, at, {"E1", "E2"}, lamina);
}

void PlyFieldsReader::ReadStrengths(const json& object, const std::string& where, PlyStrengths& strengths)
{
    strengths.Xt = Number(object, "Xt", where);
    strengths.Xc = Number(object, "Xc", where);
    strengths.Yt = Number(object, "Yt", where);
    strengths.Yc = Number(object, "Yc", where);
    strengths.S = Number(object, "S", where);
    strengths.ST = OptionalNumber(object, "ST", where, std::numeric_limits<double>::quiet_NaN());
}

void PlyFieldsReader::ReadLaminaStrength(const json& item, const std::string& where, Lamina& lamina)
{
    const std::string at = Join(where, "strength");
    const json& strength = Object(item, "strength", where);
    ReadStrengths(strength, at, lamina.strength);
    ReadSources(strength, at, {"Xt", "Xc", "Yt", "Yc", "S"}, lamina);
}

void PlyFieldsReader::ReadFailure(const json& object, FailureSettings& settings)
{
    const std::string where = "theory.failure";
    settings.tsai_wu_f12 = OptionalNumber(object, "tsai_wu_f12", where, settings.tsai_wu_f12);
    settings.puck_p_plus = OptionalNumber(object, "puck_p_plus", where, settings.puck_p_plus);
    settings.puck_p_minus = OptionalNumber(object, "puck_p_minus", where, settings.puck_p_minus);
}

void PlyFieldsReader::ReadSources(const json& object, const std::string& where,
                                  std::initializer_list<const char*> fields, Lamina& lamina)
{
    if (!Find(object, "source"))
        return;
    const std::string at = Join(where, "source");
    const json& sources = Object(object, "source", where);
    for (const char* field : fields) {
        if (!Find(sources, field))
            continue;
        const std::string here = Join(at, field);
        const json& item = Object(sources, field, at);
        ValueSource source;
        source.series = Text(item, "series", here);
        source.statistic = Text(item, "statistic", here);
        if (source.statistic != "mean" && source.statistic != "b_basis" && source.statistic != "a_basis")
            Fail(Join(here, "statistic"), "expected \"mean\", \"b_basis\" or \"a_basis\"");
        source.n = OptionalInteger(item, "n", here, 0, 0, 1000000000);
        source.date = Text(item, "date", here);
        lamina.sources[field] = source;
    }
}
