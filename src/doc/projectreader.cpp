#include "doc/projectreader.h"

#include "doc/plyfieldsreader.h"
#include "doc/projectfields.h"
#include "doc/projectschema.h"
#include "doc/readingsbatch.h"
#include "experiment/tablecells.h"
#include "util/numberparser.h"
#include "util/textfile.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <new>
#include <set>
#include <system_error>

using json = nlohmann::json;

namespace {

class Reader : private ProjectFields {
public:
    explicit Reader(const std::string& base) : m_base(base) {}

    ProjectData Read(const json& root);

private:
    std::array<int, 3> Columns(const json& item, const std::string& where) const;

    void ReadMaterial(const json& object, const std::string& where, ConstituentMaterial& material) const;
    void ReadTheory(const json& theory, ProjectData& project) const;
    void ReadUnreadFields(const json& cells, const std::string& where, Lamina& lamina) const;
    void ReadExperiment(const json& experiment, ProjectData& project);
    void ReadSpecimen(const json& item, const std::string& where, ExperimentSpecimen& specimen);
    void ReadUnreadCells(const json& cells, const std::string& where, ExperimentSpecimen& specimen) const;
    void ReadProject(const json& root, ProjectData& project);
    void ReadReadingsFiles();
    // The item of a list of records (laminae, specimens) at index i: an object whose
    // id is one of 1..count, met once; where it stands, for messages.
    template <class Record>
    std::unique_ptr<Record> NewRecord(const json& list, size_t i, const char* list_name, int count,
                                      const char* count_name, std::set<int>& ids, std::string& at) const;

    std::string m_base;
    ReadingsBatch m_readings; // the readings files met so far, read after the walk
};

template <class Record>
std::unique_ptr<Record> Reader::NewRecord(const json& list, size_t i, const char* list_name, int count,
                                          const char* count_name, std::set<int>& ids, std::string& at) const
{
    at = std::string(list_name) + "[" + std::to_string(i) + "]";
    const json& item = list[i];
    if (!item.is_object())
        Fail(at, "expected an object");
    auto record = std::make_unique<Record>();
    const json* id = Find(item, "id");
    if (!id)
        Fail(at + ".id", "missing required field");
    record->id = Integer(*id, at + ".id", 1, INT_MAX);
    if (record->id > count)
        Fail(at + ".id", std::to_string(record->id) + " is greater than " + count_name + " " + std::to_string(count));
    if (!ids.insert(record->id).second)
        Fail(at + ".id", "duplicate id " + std::to_string(record->id));
    return record;
}

void Reader::ReadMaterial(const json& object, const std::string& where, ConstituentMaterial& material) const
{
    material.name = Name(object, where);
    material.density = Number(object, "density", where);
    material.youngs_modulus = Number(object, "youngs_modulus", where);
    material.poissons_ratio = Number(object, "poissons_ratio", where);
}

void Reader::ReadTheory(const json& theory, ProjectData& project) const
{
    const std::string where = "theory";
    if (!theory.is_object())
        Fail(where, "expected an object");
    const json& laminae = Array(theory, "laminae", "");
    project.compliance_scale_factor =
        OptionalNumber(theory, "compliance_scale_factor", "", project.compliance_scale_factor);
    project.lamina_count =
        OptionalInteger(theory, "lamina_count", "", static_cast<int>(laminae.size()), 0, kMaxLaminaCount);
    if (laminae.size() > static_cast<size_t>(project.lamina_count))
        Fail("laminae", "holds " + std::to_string(laminae.size()) + " laminae, more than lamina_count " +
                            std::to_string(project.lamina_count));
    project.current_lamina_id = OptionalInteger(theory, "current_lamina_id", "", 0, 0, project.lamina_count);
    if (Find(theory, "failure"))
        PlyFieldsReader::ReadFailure(Object(theory, "failure", ""), project.failure);
    if (const json* load = Find(theory, "load")) {
        if (!load->is_object())
            Fail("load", "expected an object of Nx, Ny, Nxy, Mx, My and Mxy (absent ones are 0)");
        LaminateLoad resultants;
        const char* names[6] = {"Nx", "Ny", "Nxy", "Mx", "My", "Mxy"};
        for (size_t k = 0; k < 6; ++k)
            (k < 3 ? resultants.N[k] : resultants.M[k - 3]) = OptionalNumber(*load, names[k], "load", 0);
        project.load_case = resultants;
    }

    std::set<int> ids;
    for (size_t i = 0; i < laminae.size(); ++i) {
        std::string at;
        auto lamina = NewRecord<Lamina>(laminae, i, "laminae", project.lamina_count, "lamina_count", ids, at);
        const json& item = laminae[i];
        if (Find(item, "ply")) {
            PlyFieldsReader::ReadPlyConstants(item, at, *lamina);
        } else {
            ReadMaterial(Object(item, "fiber", at), at + ".fiber", lamina->fiber);
            ReadMaterial(Object(item, "matrix", at), at + ".matrix", lamina->matrix);
            lamina->FAW = Number(item, "FAW", at);
            lamina->xi = Number(item, "xi", at);
        }
        lamina->thickness = Number(item, "thickness", at);
        lamina->angle = Number(item, "angle", at);
        if (Find(item, "strength"))
            PlyFieldsReader::ReadLaminaStrength(item, at, *lamina);
        lamina->S_scale_factor = OptionalNumber(item, "S_scale_factor", at, 0.01);
        lamina->C_scale_factor = OptionalNumber(item, "C_scale_factor", at, 1.0);
        lamina->S_angle_scale_factor = OptionalNumber(item, "S_angle_scale_factor", at, 0.01);
        lamina->C_angle_scale_factor = OptionalNumber(item, "C_angle_scale_factor", at, 1.0);
        if (Find(item, "unread_cells"))
            ReadUnreadFields(Array(item, "unread_cells", at), Join(at, "unread_cells"), *lamina);
        project.laminae.push_back(std::move(lamina));
    }
}

// The lamina's inputs kept as typed: { "field": "fiber.density", "text": "abc" }, the
// input itself "nan"; each field once.
void Reader::ReadUnreadFields(const json& cells, const std::string& where, Lamina& lamina) const
{
    for (size_t i = 0; i < cells.size(); ++i) {
        const std::string at = where + "[" + std::to_string(i) + "]";
        if (!cells[i].is_object())
            Fail(at, "expected an object");
        if (!Find(cells[i], "field"))
            Fail(at + ".field", "missing required field");
        UnreadField cell{Text(cells[i], "field", at), Text(cells[i], "text", at)};
        const int index = LaminaInputIndex(cell.field);
        if (index < 0) {
            std::string names;
            for (const char* name : kLaminaInputNames)
                names += std::string(names.empty() ? "" : ", ") + name;
            Fail(at + ".field", "\"" + cell.field + "\" is not one of " + names);
        }
        if (!std::isnan(lamina.Input(index)))
            Fail(at + ".field", cell.field + " holds a number; a cell kept as text holds \"nan\"");
        for (const UnreadField& earlier : lamina.unread_cells) {
            if (earlier.field == cell.field)
                Fail(at + ".field", "duplicate field " + cell.field);
        }
        lamina.unread_cells.push_back(std::move(cell));
    }
    std::stable_sort(lamina.unread_cells.begin(), lamina.unread_cells.end(),
                     [](const UnreadField& a, const UnreadField& b) {
                         return LaminaInputIndex(a.field) < LaminaInputIndex(b.field);
                     });
}

void Reader::ReadSpecimen(const json& item, const std::string& where, ExperimentSpecimen& specimen)
{
    specimen.name = Name(item, where);
    const json* file = Find(item, "readings_file");
    // A readings file may give what its testing machine wrote above the readings.
    const double unknown = std::numeric_limits<double>::quiet_NaN();
    specimen.width = file && !Find(item, "width") ? unknown : Number(item, "width", where);
    specimen.thickness = file && !Find(item, "thickness") ? unknown : Number(item, "thickness", where);
    if (const json* excluded = Find(item, "excluded")) {
        if (!excluded->is_boolean())
            Fail(Join(where, "excluded"), "expected true or false");
        specimen.excluded = excluded->get<bool>();
    }
    if (file) {
        if (!file->is_string())
            Fail(where + ".readings_file", "expected a text (a path)");
        if (Find(item, "load") || Find(item, "strain") || Find(item, "stress"))
            Fail(where, "give either readings_file or the load, strain and stress arrays, not both");
        std::filesystem::path path = std::filesystem::u8path(file->get<std::string>());
        if (path.is_relative() && !m_base.empty())
            path = std::filesystem::u8path(m_base) / path;
        // Where the header does not name the series, the project says which columns hold them.
        const std::array<int, 3> columns = Columns(item, where);
        // Remembered, so that a save names the file again while the readings are unchanged.
        ReadingsLink link;
        link.path = file->get<std::string>();
        std::error_code error;
        const std::filesystem::path full = std::filesystem::absolute(path, error);
        link.full_path = (error ? path : full).lexically_normal().string();
        link.columns = columns;
        specimen.readings_link = std::move(link);
        m_readings.Add(path.string(), where + ".readings_file", specimen, columns);
        return;
    }
    specimen.load_series = Series(item, "load", where);
    specimen.strain_series = Series(item, "strain", where);
    specimen.stress_series = Series(item, "stress", where);
    if (specimen.strain_series.size() != specimen.load_series.size() ||
        specimen.stress_series.size() != specimen.load_series.size())
        Fail(where, "load, strain and stress have different lengths (" + std::to_string(specimen.load_series.size()) +
                        ", " + std::to_string(specimen.strain_series.size()) + ", " +
                        std::to_string(specimen.stress_series.size()) + ")");
    if (Find(item, "unread_cells"))
        ReadUnreadCells(Array(item, "unread_cells", where), Join(where, "unread_cells"), specimen);
}

// Where the header does not name the series, the project says which columns hold
// them (counted from 1 in the file, from 0 here); -1 each when it does not.
std::array<int, 3> Reader::Columns(const json& item, const std::string& where) const
{
    std::array<int, 3> columns = {-1, -1, -1};
    if (!Find(item, "columns"))
        return columns;
    const json& given = Array(item, "columns", where);
    const std::string at = Join(where, "columns");
    if (given.size() != 3)
        Fail(at, "expected the Load, Strain and Stress columns, 3 numbers from 1");
    static const char* const kSeries[] = {"Load", "Strain", "Stress"};
    for (size_t k = 0; k < 3; ++k) {
        const std::string element = at + "[" + std::to_string(k) + "]";
        columns[k] = Integer(given[k], element, 1, static_cast<long long>(TableCells::kMaxColumns)) - 1;
        for (size_t e = 0; e < k; ++e)
            if (columns[e] == columns[k])
                Fail(element, "column " + std::to_string(columns[k] + 1) + " is given for both " + kSeries[e] +
                                  " and " + kSeries[k] + "; each series has a column of its own");
    }
    return columns;
}

void Reader::ReadUnreadCells(const json& cells, const std::string& where, ExperimentSpecimen& specimen) const
{
    static const char* const kSeries[] = {"load", "strain", "stress"};
    const long long rows = static_cast<long long>(specimen.load_series.size());
    for (size_t i = 0; i < cells.size(); ++i) {
        const std::string at = where + "[" + std::to_string(i) + "]";
        if (!cells[i].is_object())
            Fail(at, "expected an object");
        const json* row = Find(cells[i], "row");
        if (!row)
            Fail(at + ".row", "missing required field");
        if (rows == 0)
            Fail(at + ".row", "the specimen has no readings");
        UnreadCell cell;
        cell.row = Integer(*row, at + ".row", 1, rows) - 1;
        const std::string series = Text(cells[i], "series", at);
        cell.column = static_cast<int>(std::find(kSeries, kSeries + 3, series) - kSeries);
        if (cell.column == 3)
            Fail(at + ".series", "expected \"load\", \"strain\" or \"stress\"");
        cell.text = Text(cells[i], "text", at);
        specimen.unread_cells.push_back(std::move(cell));
    }
}

void Reader::ReadExperiment(const json& experiment, ProjectData& project)
{
    if (!experiment.is_object())
        Fail("experiment", "expected an object");
    const json& specimens = Array(experiment, "specimens", "");
    project.elastic_min = OptionalNumber(experiment, "elastic_min", "", project.elastic_min);
    project.elastic_max = OptionalNumber(experiment, "elastic_max", "", project.elastic_max);
    if (const std::string method = Text(experiment, "modulus_method", ""); method == "regression")
        project.modulus_method = ModulusMethod::Regression;
    else if (!method.empty() && method != "chord")
        Fail("modulus_method", "expected \"chord\" or \"regression\"");
    project.specimen_count =
        OptionalInteger(experiment, "specimen_count", "", static_cast<int>(specimens.size()), 0, kMaxLaminaCount);
    if (specimens.size() > static_cast<size_t>(project.specimen_count))
        Fail("specimens", "holds " + std::to_string(specimens.size()) + " specimens, more than specimen_count " +
                              std::to_string(project.specimen_count));
    project.current_specimen_id = OptionalInteger(experiment, "current_specimen_id", "", 0, 0, project.specimen_count);

    std::set<int> ids;
    for (size_t i = 0; i < specimens.size(); ++i) {
        std::string at;
        auto specimen =
            NewRecord<ExperimentSpecimen>(specimens, i, "specimens", project.specimen_count, "specimen_count", ids, at);
        ReadSpecimen(specimens[i], at, *specimen);
        project.specimens.push_back(std::move(specimen));
    }
}

void Reader::ReadProject(const json& root, ProjectData& project)
{
    if (!root.is_object())
        Fail("", "not a Plyforge project (expected a JSON object)");
    const json* format = Find(root, "format");
    if (!format || !format->is_string() || format->get<std::string>() != "plyforge-project")
        Fail("", "not a Plyforge project (\"format\" is not \"plyforge-project\")");
    const json* version = Find(root, "version");
    if (!version)
        Fail("version", "missing required field");
    // Non-negative literals are read as unsigned, so a signed one is below 1.
    const bool is_unsigned = version->is_number_unsigned();
    if (!version->is_number_integer() || !is_unsigned || version->get<unsigned long long>() < 1)
        Fail("version", "expected a whole number of at least 1");
    if (version->get<unsigned long long>() > ProjectReader::kVersion)
        Fail("version", "this file was written by a newer Plyforge (version " + version->dump() +
                            "); this program reads version " + std::to_string(ProjectReader::kVersion));
    ProjectSchema::CheckKeys(root);

    if (const json* theory = Find(root, "theory"))
        ReadTheory(*theory, project);
    if (const json* experiment = Find(root, "experiment"))
        ReadExperiment(*experiment, project);
}

// The files are read together once the walk is done; a failure among them is
// reported where reading each in its place would have stopped.
void Reader::ReadReadingsFiles()
{
    std::string where;
    std::string message;
    if (!m_readings.ReadAll(where, message))
        Fail(where, message);
}

ProjectData Reader::Read(const json& root)
{
    ProjectData project;
    try {
        ReadProject(root, project);
    } catch (const ProjectSchemaError&) {
        ReadReadingsFiles(); // an earlier readings file may be the first fault
        throw;
    }
    ReadReadingsFiles();
    return project;
}

} // namespace

ProjectData ProjectReader::Parse(std::string_view text, const std::string& source_name, const std::string& base_folder)
{
    json root;
    try {
        root = ProjectSchema::Parse(text);
    } catch (const ProjectSchemaError& error) {
        throw ProjectFileError(source_name + ": " + (error.where().empty() ? "" : error.where() + ": ") + error.what());
    } catch (const std::bad_alloc&) {
        throw ProjectFileError(source_name + ": not enough memory to read the project");
    } catch (const json::out_of_range& error) {
        throw ProjectFileError(source_name + ": a number is too large to read (" + error.what() + ")");
    } catch (const json::parse_error& error) {
        // Point at the line and column, counted from 1, of the byte that broke it.
        const size_t byte = std::min<size_t>(error.byte == 0 ? 0 : error.byte - 1, text.size());
        size_t line = 1;
        size_t column = 1;
        for (size_t i = 0; i < byte; ++i) {
            if (text[i] == '\n') {
                ++line;
                column = 1;
            } else {
                ++column;
            }
        }
        throw ProjectFileError(source_name + ": not valid JSON at line " + std::to_string(line) + ", column " +
                               std::to_string(column) + (text.empty() ? " (the file is empty)" : ""));
    }
    try {
        return Reader(base_folder).Read(root);
    } catch (const ProjectSchemaError& error) {
        throw ProjectFileError(source_name + ": " + (error.where().empty() ? "" : error.where() + ": ") + error.what());
    } catch (const std::bad_alloc&) {
        throw ProjectFileError(source_name + ": not enough memory to read the project");
    } catch (const json::exception& error) {
        // Not expected after the type checks, but a damaged file must never escape as
        // anything but a clear refusal.
        throw ProjectFileError(source_name + ": " + error.what());
    }
}

ProjectData ProjectReader::ReadFile(const std::string& path)
{
    std::string text;
    try {
        text = TextFile::Read(path);
    } catch (const TextFileError& error) {
        switch (error.reason()) {
        case TextFileError::Reason::Folder:
            throw ProjectFileError(path + ": is a folder, not a project file");
        case TextFileError::Reason::NotRegular:
            throw ProjectFileError(path + ": is not a regular file (a pipe, socket or device), not a project file");
        case TextFileError::Reason::CannotOpen:
            throw ProjectFileError(path + ": cannot open the file (" + std::strerror(error.error_number()) + ")");
        case TextFileError::Reason::OutOfMemory:
            throw ProjectFileError(path + ": not enough memory to read the file");
        case TextFileError::Reason::TooLarge:
            throw ProjectFileError(path + ": the project file " + error.SizeText());
        case TextFileError::Reason::CannotRead:
            break;
        }
        throw ProjectFileError(path + ": cannot read the file");
    }
    const std::string base = std::filesystem::u8path(path).parent_path().string();
    return Parse(text, path, base);
}
