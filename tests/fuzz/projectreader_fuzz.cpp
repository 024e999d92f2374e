// Any bytes as a project file: the reader returns a project or throws
// ProjectFileError, never anything else. Readings files are looked up in a folder
// of its own holding a good and a bad one, and only there.
#include "doc/projectreader.h"

#include "fuzzsupport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <string_view>

namespace {

std::string g_folder;

void Write(const std::string& name, const std::string& text)
{
    std::ofstream(g_folder + "/" + name, std::ios::binary) << text;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_folder = (std::filesystem::temp_directory_path() / "plyforge-fuzz-readings").string();
    std::filesystem::create_directories(g_folder);
    Write("a.csv", "Load;Strain;Stress\n0;0;0\n1;0,1;2\n");
    Write("b.csv", "1,2,3\n4,x,6\n");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (ReachesOutsideFuzzFolder(text))
        return 0;
    try {
        const ProjectData project = ProjectReader::Parse(text, "fuzz.plyforge", g_folder);
        // What an opened project must satisfy: records within their counts, ids from 1
        // to the count and each once, the current ids in range, series of one length.
        const auto ids_fit = [](const auto& records, int count) {
            std::set<int> ids;
            for (const auto& record : records)
                if (record->id < 1 || record->id > count || !ids.insert(record->id).second)
                    return false;
            return records.size() <= static_cast<size_t>(count);
        };
        if (!ids_fit(project.laminae, project.lamina_count) || !ids_fit(project.specimens, project.specimen_count) ||
            project.current_lamina_id < 0 || project.current_lamina_id > project.lamina_count ||
            project.current_specimen_id < 0 || project.current_specimen_id > project.specimen_count)
            std::abort();
        for (const auto& specimen : project.specimens)
            if (specimen->load_series.size() != specimen->stress_series.size() ||
                specimen->strain_series.size() != specimen->stress_series.size())
                std::abort();
    } catch (const ProjectFileError& error) {
        if (std::string_view(error.what()).rfind("fuzz.plyforge: ", 0) != 0)
            std::abort(); // every message names the file
    }
    return 0;
}
