#include "doc/projectwriter.h"

#include "doc/plyforgedoc.h"
#include "doc/projectreader.h"
#include "util/safefilewriter.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

const char* const kSeriesKeys[] = {"load", "strain", "stress"};

void AppendText(std::string& out, const std::string& text)
{
    // Invalid UTF-8 is replaced rather than refused, so a save never fails on a name.
    out += nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

void Key(std::string& out, const char* indent, const char* key)
{
    out += indent;
    out += '"';
    out += key;
    out += "\": ";
}

void NumberField(std::string& out, const char* indent, const char* key, double value, bool last = false)
{
    Key(out, indent, key);
    ProjectWriter::AppendNumber(out, value);
    out += last ? "\n" : ",\n";
}

void IntField(std::string& out, const char* indent, const char* key, int value)
{
    Key(out, indent, key);
    out += std::to_string(value);
    out += ",\n";
}

void Material(std::string& out, const char* key, const ConstituentMaterial& material)
{
    Key(out, "      ", key);
    out += "{ \"name\": ";
    AppendText(out, material.name);
    out += ", \"density\": ";
    ProjectWriter::AppendNumber(out, material.density);
    out += ", \"youngs_modulus\": ";
    ProjectWriter::AppendNumber(out, material.youngs_modulus);
    out += ", \"poissons_ratio\": ";
    ProjectWriter::AppendNumber(out, material.poissons_ratio);
    out += " },\n";
}

void Series(std::string& out, const char* key, const std::vector<double>& series, bool last)
{
    Key(out, "      ", key);
    out += '[';
    for (size_t i = 0; i < series.size(); ++i) {
        if (i)
            out += ", ";
        ProjectWriter::AppendNumber(out, series[i]);
    }
    out += last ? "]\n" : "],\n";
}

// Cells that are not numbers, as typed: { "row": from 1, "series": "stress", "text": "abc" }.
void UnreadCells(std::string& out, const std::vector<UnreadCell>& cells)
{
    if (cells.empty())
        return;
    Key(out, "      ", "unread_cells");
    out += '[';
    for (size_t i = 0; i < cells.size(); ++i) {
        out += i ? ", { \"row\": " : "{ \"row\": ";
        out += std::to_string(cells[i].row + 1);
        out += ", \"series\": \"";
        out += kSeriesKeys[cells[i].column];
        out += "\", \"text\": ";
        AppendText(out, cells[i].text);
        out += " }";
    }
    out += "]\n";
}

// A lamina's inputs that are not numbers, as typed: { "field": "FAW", "text": "abc" }.
void UnreadFields(std::string& out, const std::vector<UnreadField>& cells)
{
    if (cells.empty())
        return;
    Key(out, "      ", "unread_cells");
    out += '[';
    for (size_t i = 0; i < cells.size(); ++i) {
        out += i ? ", { \"field\": " : "{ \"field\": ";
        AppendText(out, cells[i].field);
        out += ", \"text\": ";
        AppendText(out, cells[i].text);
        out += " }";
    }
    out += "]\n";
}

// One line of numbers: { "E1": 181, "E2": 10.3 }; NaN values are left out where the
// reader takes their absence as not given.
void Numbers(std::string& out, const char* key, std::initializer_list<std::pair<const char*, double>> values,
             const std::string& more = {})
{
    Key(out, "      ", key);
    out += "{ ";
    bool first = true;
    for (const auto& [name, value] : values) {
        out += first ? "\"" : ", \"";
        first = false;
        out += name;
        out += "\": ";
        ProjectWriter::AppendNumber(out, value);
    }
    out += more;
    out += " },\n";
}

// , "source": { "Xt": { "series": ..., "statistic": ..., "n": ..., "date": ... } } of
// these fields, or nothing when a series gave none of them.
std::string Sources(const Lamina& lamina, std::initializer_list<const char*> fields)
{
    std::string out;
    for (const char* field : fields) {
        const auto source = lamina.sources.find(field);
        if (source == lamina.sources.end())
            continue;
        out += out.empty() ? ", \"source\": { \"" : ", \"";
        out += field;
        out += "\": { \"series\": ";
        AppendText(out, source->second.series);
        out += ", \"statistic\": ";
        AppendText(out, source->second.statistic);
        out += ", \"n\": " + std::to_string(source->second.n) + ", \"date\": ";
        AppendText(out, source->second.date);
        out += " }";
    }
    return out.empty() ? out : out + " }";
}

void PlyConstantsFields(std::string& out, const Lamina& lamina)
{
    const PlyConstants& ply = lamina.ply;
    Numbers(out, "ply", {{"E1", ply.E1}, {"E2", ply.E2}, {"G12", ply.G12}, {"nu12", ply.nu12}, {"nu23", ply.nu23}},
            Sources(lamina, {"E1", "E2"}));
    if (!std::isnan(ply.density))
        NumberField(out, "      ", "density", ply.density);
}

void StrengthFields(std::string& out, const Lamina& lamina)
{
    const PlyStrengths& s = lamina.strength;
    const std::string sources = Sources(lamina, {"Xt", "Xc", "Yt", "Yc", "S"});
    if (std::isnan(s.ST))
        Numbers(out, "strength", {{"Xt", s.Xt}, {"Xc", s.Xc}, {"Yt", s.Yt}, {"Yc", s.Yc}, {"S", s.S}}, sources);
    else
        Numbers(out, "strength", {{"Xt", s.Xt}, {"Xc", s.Xc}, {"Yt", s.Yt}, {"Yc", s.Yc}, {"S", s.S}, {"ST", s.ST}},
                sources);
}

void Theory(std::string& out, const CPlyforgeDoc& doc)
{
    out += "  \"theory\": {\n";
    IntField(out, "    ", "lamina_count", doc.lamina_count);
    NumberField(out, "    ", "compliance_scale_factor", doc.laminate.compliance_scale_factor);
    IntField(out, "    ", "current_lamina_id", doc.current_lamina_id);
    if (doc.failure != FailureSettings{}) {
        out += "    \"failure\": { \"tsai_wu_f12\": ";
        ProjectWriter::AppendNumber(out, doc.failure.tsai_wu_f12);
        out += ", \"puck_p_plus\": ";
        ProjectWriter::AppendNumber(out, doc.failure.puck_p_plus);
        out += ", \"puck_p_minus\": ";
        ProjectWriter::AppendNumber(out, doc.failure.puck_p_minus);
        out += " },\n";
    }
    if (doc.load_case) {
        out += "    \"load\": {";
        const char* names[6] = {"Nx", "Ny", "Nxy", "Mx", "My", "Mxy"};
        for (size_t k = 0; k < 6; ++k) {
            out += std::string(k ? ", \"" : "\"") + names[k] + "\": ";
            ProjectWriter::AppendNumber(out, k < 3 ? doc.load_case->N[k] : doc.load_case->M[k - 3]);
        }
        out += "},\n";
    }
    out += "    \"laminae\": [";
    const auto& laminae = doc.laminate.laminae;
    for (size_t i = 0; i < laminae.size(); ++i) {
        const Lamina& lamina = *laminae[i];
        out += i ? ",\n    {\n" : "\n    {\n";
        IntField(out, "      ", "id", lamina.id);
        if (lamina.source == LaminaSource::PlyConstants) {
            PlyConstantsFields(out, lamina);
        } else {
            Material(out, "fiber", lamina.fiber);
            Material(out, "matrix", lamina.matrix);
            NumberField(out, "      ", "FAW", lamina.FAW);
        }
        NumberField(out, "      ", "thickness", lamina.thickness);
        NumberField(out, "      ", "angle", lamina.angle);
        if (lamina.source == LaminaSource::FibreMatrix)
            NumberField(out, "      ", "xi", lamina.xi);
        if (lamina.Assessed())
            StrengthFields(out, lamina);
        NumberField(out, "      ", "S_scale_factor", lamina.S_scale_factor);
        NumberField(out, "      ", "C_scale_factor", lamina.C_scale_factor);
        NumberField(out, "      ", "S_angle_scale_factor", lamina.S_angle_scale_factor);
        NumberField(out, "      ", "C_angle_scale_factor", lamina.C_angle_scale_factor,
                    lamina.unread_cells.empty());
        UnreadFields(out, lamina.unread_cells);
        out += "    }";
    }
    out += laminae.empty() ? "]\n" : "\n    ]\n";
    out += "  },\n";
}

// The readings file as the project at project_folder names it: as it was given
// while the project stays in its folder, else relative to the new folder.
std::string LinkPath(const ReadingsLink& link, const std::string& project_folder)
{
    namespace fs = std::filesystem;
    const fs::path given = fs::u8path(link.path);
    if (given.is_absolute() || project_folder.empty())
        return link.path;
    std::error_code error;
    const fs::path folder = fs::absolute(fs::u8path(project_folder), error).lexically_normal();
    const fs::path full = fs::u8path(link.full_path);
    if (error || (folder / given).lexically_normal() == full)
        return link.path;
    const fs::path relative = full.lexically_relative(folder);
    return relative.empty() ? link.full_path : relative.string();
}

// The link in place of the readings; what the file itself gives is left to it.
void LinkedReadings(std::string& out, const ExperimentSpecimen& specimen, const std::string& project_folder)
{
    const ReadingsLink& link = *specimen.readings_link;
    const auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    if (!same(specimen.width, link.width))
        NumberField(out, "      ", "width", specimen.width);
    if (!same(specimen.thickness, link.thickness))
        NumberField(out, "      ", "thickness", specimen.thickness);
    if (specimen.excluded)
        out += "      \"excluded\": true,\n";
    Key(out, "      ", "readings_file");
    AppendText(out, LinkPath(link, project_folder));
    if (link.columns[0] >= 0) {
        out += ",\n      \"columns\": [";
        for (size_t k = 0; k < 3; ++k)
            out += (k ? ", " : "") + std::to_string(link.columns[k] + 1);
        out += ']';
    }
    out += '\n';
}

void Specimen(std::string& out, const ExperimentSpecimen& specimen, const std::string& project_folder)
{
    IntField(out, "      ", "id", specimen.id);
    const bool linked = specimen.ReadingsAsLinked();
    if (!specimen.name.empty() && !(linked && specimen.name == specimen.readings_link->name)) {
        out += "      \"name\": ";
        AppendText(out, specimen.name);
        out += ",\n";
    }
    if (linked) {
        LinkedReadings(out, specimen, project_folder);
        return;
    }
    NumberField(out, "      ", "width", specimen.width);
    NumberField(out, "      ", "thickness", specimen.thickness);
    if (specimen.excluded)
        out += "      \"excluded\": true,\n";
    Series(out, "load", specimen.load_series, false);
    Series(out, "strain", specimen.strain_series, false);
    Series(out, "stress", specimen.stress_series, specimen.unread_cells.empty());
    UnreadCells(out, specimen.unread_cells);
}

void Experiment(std::string& out, const CPlyforgeDoc& doc, const std::string& project_folder)
{
    out += "  \"experiment\": {\n";
    IntField(out, "    ", "specimen_count", doc.specimen_count);
    NumberField(out, "    ", "elastic_min", doc.elastic_min);
    NumberField(out, "    ", "elastic_max", doc.elastic_max);
    // Written only when not the default, so the files of a chord-modulus series stay as they were.
    if (doc.modulus_method == ModulusMethod::Regression)
        out += "    \"modulus_method\": \"regression\",\n";
    IntField(out, "    ", "current_specimen_id", doc.current_specimen_id);
    out += "    \"specimens\": [";
    for (size_t i = 0; i < doc.specimens.size(); ++i) {
        out += i ? ",\n    {\n" : "\n    {\n";
        Specimen(out, *doc.specimens[i], project_folder);
        out += "    }";
    }
    out += doc.specimens.empty() ? "]\n" : "\n    ]\n";
    out += "  }\n";
}

} // namespace

void ProjectWriter::AppendNumber(std::string& out, double value)
{
    if (std::isnan(value)) {
        out += std::signbit(value) ? "\"-nan\"" : "\"nan\"";
        return;
    }
    if (std::isinf(value)) {
        out += value < 0 ? "\"-inf\"" : "\"inf\"";
        return;
    }
    if (value == 0 && std::signbit(value)) {
        out += "-0.0"; // "-0" would read back as the integer 0
        return;
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

std::string ProjectWriter::Serialize(const CPlyforgeDoc& doc, const std::string& project_folder)
{
    std::string out;
    size_t readings = 0;
    for (const auto& specimen : doc.specimens)
        readings += specimen->load_series.size() * 3;
    out.reserve(4096 + doc.laminate.laminae.size() * 600 + readings * 12);
    out += "{\n  \"format\": \"plyforge-project\",\n  \"version\": ";
    out += std::to_string(ProjectReader::kVersion);
    out += ",\n";
    Theory(out, doc);
    Experiment(out, doc, project_folder);
    out += "}\n";
    return out;
}

void ProjectWriter::WriteFile(const std::string& path, const CPlyforgeDoc& doc, bool replace_read_only)
{
    const std::filesystem::path folder = std::filesystem::u8path(path).parent_path();
    const std::string text = Serialize(doc, folder.empty() ? "." : folder.string());
    SafeFileWriter::Options options;
    options.refuse_read_only = !replace_read_only;
    const SafeFileWriter::Outcome outcome = SafeFileWriter::Write(path, text, options);
    if (!outcome.Ok())
        throw ProjectFileError(path + ": " + outcome.reason);
}
