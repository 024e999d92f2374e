#include "doc/projectschema.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <limits>
#include <unordered_set>

using json = nlohmann::json;

namespace {

// The keys of each object level the reader reads, by the level's path with array
// elements written "[]". Keys the writer writes are all here.
struct Level {
    std::string_view pattern;
    std::vector<std::string_view> keys;
};

const std::vector<Level>& Levels()
{
    static const std::vector<std::string_view> material = {"name", "density", "youngs_modulus", "poissons_ratio"};
    static const std::vector<std::string_view> source = {"series", "statistic", "n", "date"};
    static const std::vector<Level> levels = {
        {"", {"format", "version", "theory", "experiment"}},
        {"theory", {"lamina_count", "compliance_scale_factor", "current_lamina_id", "failure", "load", "laminae"}},
        {"theory.failure", {"tsai_wu_f12", "puck_p_plus", "puck_p_minus"}},
        {"theory.load", {"Nx", "Ny", "Nxy", "Mx", "My", "Mxy"}},
        {"theory.laminae[]",
         {"id", "fiber", "matrix", "FAW", "ply", "thickness", "angle", "xi", "density", "strength", "S_scale_factor",
          "C_scale_factor", "S_angle_scale_factor", "C_angle_scale_factor", "unread_cells"}},
        {"theory.laminae[].ply", {"E1", "E2", "G12", "nu12", "nu23", "source"}},
        {"theory.laminae[].strength", {"Xt", "Xc", "Yt", "Yc", "S", "ST", "source"}},
        {"theory.laminae[].ply.source", {"E1", "E2"}},
        {"theory.laminae[].strength.source", {"Xt", "Xc", "Yt", "Yc", "S"}},
        {"theory.laminae[].ply.source.E1", source},
        {"theory.laminae[].ply.source.E2", source},
        {"theory.laminae[].strength.source.Xt", source},
        {"theory.laminae[].strength.source.Xc", source},
        {"theory.laminae[].strength.source.Yt", source},
        {"theory.laminae[].strength.source.Yc", source},
        {"theory.laminae[].strength.source.S", source},
        {"theory.laminae[].fiber", material},
        {"theory.laminae[].matrix", material},
        {"theory.laminae[].unread_cells[]", {"field", "text"}},
        {"experiment",
         {"specimen_count", "elastic_min", "elastic_max", "modulus_method", "current_specimen_id", "specimens"}},
        {"experiment.specimens[]",
         {"id", "name", "width", "thickness", "excluded", "readings_file", "columns", "load", "strain", "stress",
          "unread_cells"}},
        {"experiment.specimens[].unread_cells[]", {"row", "series", "text"}},
    };
    return levels;
}

const Level* FindLevel(std::string_view pattern)
{
    for (const Level& level : Levels())
        if (level.pattern == pattern)
            return &level;
    return nullptr;
}

// True when a level lies at or below pattern: only those values are walked, never
// the readings arrays.
bool Leads(std::string_view pattern)
{
    for (const Level& level : Levels()) {
        const std::string_view p = level.pattern;
        if (p.substr(0, pattern.size()) == pattern &&
            (p.size() == pattern.size() || p[pattern.size()] == '.' || p[pattern.size()] == '['))
            return true;
    }
    return false;
}

// A key as a path shows it: plain keys as they are, others quoted with control
// characters escaped (the message stays one line), long ones cut.
std::string KeyText(std::string_view key)
{
    constexpr size_t kShown = 64;
    const bool plain = !key.empty() && key.size() <= kShown && std::all_of(key.begin(), key.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
    });
    if (plain)
        return std::string(key);
    size_t cut = std::min(key.size(), kShown);
    while (cut < key.size() && cut > 0 && (static_cast<unsigned char>(key[cut]) & 0xC0) == 0x80)
        --cut; // not inside a character
    std::string quoted = json(std::string(key.substr(0, cut))).dump(-1, ' ', false, json::error_handler_t::replace);
    if (cut < key.size())
        quoted.insert(quoted.size() - 1, "...");
    return quoted;
}

std::string Join(const std::string& path, std::string_view key)
{
    return path.empty() ? KeyText(key) : path + "." + KeyText(key);
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Edits (insert, delete, replace, swap two neighbours) from a to b, letters
// compared in either case.
size_t Distance(std::string_view a, std::string_view b)
{
    std::vector<size_t> before(b.size() + 1), previous(b.size() + 1), row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        previous[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const bool same = Lower(a[i - 1]) == Lower(b[j - 1]);
            row[j] = std::min({previous[j] + 1, row[j - 1] + 1, previous[j - 1] + (same ? 0 : 1)});
            if (i > 1 && j > 1 && Lower(a[i - 1]) == Lower(b[j - 2]) && Lower(a[i - 2]) == Lower(b[j - 1]))
                row[j] = std::min(row[j], before[j - 2] + 1);
        }
        std::swap(before, previous);
        std::swap(previous, row);
    }
    return previous[b.size()];
}

std::string UnknownKeyText(std::string_view key, const std::vector<std::string_view>& known)
{
    const std::string suggestion = ProjectSchema::Suggest(key, known);
    if (!suggestion.empty())
        return "unknown key; did you mean \"" + suggestion + "\"?";
    std::string names;
    for (const std::string_view name : known)
        names += (names.empty() ? "" : ", ") + std::string(name);
    return "unknown key (known here: " + names + ")";
}

void Walk(const json& value, const std::string& pattern, const std::string& path)
{
    if (value.is_array()) {
        const std::string element = pattern + "[]";
        if (Leads(element))
            for (size_t i = 0; i < value.size(); ++i)
                Walk(value[i], element, path + "[" + std::to_string(i) + "]");
        return;
    }
    const Level* level = value.is_object() ? FindLevel(pattern) : nullptr;
    if (!level)
        return; // a value of another type: the reader names what it expects
    for (const auto& [key, child] : value.items()) {
        if (std::find(level->keys.begin(), level->keys.end(), key) == level->keys.end())
            throw ProjectSchemaError(Join(path, key), UnknownKeyText(key, level->keys));
        const std::string child_pattern = pattern.empty() ? key : pattern + "." + key;
        if (Leads(child_pattern))
            Walk(child, child_pattern, Join(path, key));
    }
}

// Follows the parser through the document to know the path of each key, and the
// keys already met in every object still open.
class KeyTracker {
public:
    bool Event(json::parse_event_t event, const json& parsed);

private:
    struct Frame {
        bool object = false;
        size_t index = 0; // of the next element, in an array
        std::string key;  // the latest, in an object
    };

    std::string Path() const;

    std::vector<Frame> m_frames;
    std::vector<std::unordered_set<std::string>> m_keys; // one per open object
};

bool KeyTracker::Event(json::parse_event_t event, const json& parsed)
{
    switch (event) {
    case json::parse_event_t::object_start:
        m_keys.emplace_back();
        m_frames.push_back({true, 0, {}});
        break;
    case json::parse_event_t::array_start:
        m_frames.push_back({false, 0, {}});
        break;
    case json::parse_event_t::key:
        m_frames.back().key = parsed.get<std::string>();
        if (!m_keys.back().insert(m_frames.back().key).second)
            throw ProjectSchemaError(Path(), "duplicate key (an object gives each key once)");
        break;
    case json::parse_event_t::object_end:
        m_keys.pop_back();
        [[fallthrough]];
    case json::parse_event_t::array_end:
        m_frames.pop_back();
        [[fallthrough]];
    case json::parse_event_t::value:
        if (!m_frames.empty() && !m_frames.back().object)
            ++m_frames.back().index;
        break;
    }
    return true;
}

std::string KeyTracker::Path() const
{
    std::string path;
    for (const Frame& frame : m_frames)
        path = frame.object ? Join(path, frame.key) : path + "[" + std::to_string(frame.index) + "]";
    return path;
}

} // namespace

json ProjectSchema::Parse(std::string_view text)
{
    KeyTracker tracker;
    return json::parse(text.begin(), text.end(), [&tracker](int, json::parse_event_t event, json& parsed) {
        return tracker.Event(event, parsed);
    });
}

void ProjectSchema::CheckKeys(const json& root)
{
    Walk(root, "", "");
}

std::string ProjectSchema::NameLengthProblem(std::string_view name)
{
    if (name.size() <= kMaxNameLength)
        return {};
    const size_t length = static_cast<size_t>(std::count_if(
        name.begin(), name.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
    if (length <= kMaxNameLength)
        return {};
    return "is " + std::to_string(length) + " characters long (UTF-8 code points); a name has at most " +
           std::to_string(kMaxNameLength);
}

std::string ProjectSchema::Suggest(std::string_view key, const std::vector<std::string_view>& known)
{
    for (const std::string_view name : known)
        if (name.size() == key.size() && Distance(name, key) == 0)
            return std::string(name);
    // Only a few edits from a short key: more would suggest anything.
    const size_t close = key.size() <= 4 ? 1 : 2;
    size_t best = std::numeric_limits<size_t>::max();
    std::string_view chosen;
    for (const std::string_view name : known) {
        const size_t gap = name.size() > key.size() ? name.size() - key.size() : key.size() - name.size();
        if (gap > close)
            continue;
        const size_t distance = Distance(key, name);
        if (distance < best) {
            best = distance;
            chosen = name;
        }
    }
    return best <= close ? std::string(chosen) : std::string();
}
