#include "doc/readingsbatch.h"

#include "doc/projectschema.h"
#include "experiment/experimentspecimen.h"
#include "experiment/tensileimport.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <exception>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

void ReadingsBatch::Add(const std::string& path, const std::string& where, ExperimentSpecimen& specimen,
                        std::array<int, 3> columns)
{
    m_jobs.push_back({path, where, &specimen, {}, columns});
}

void ReadingsBatch::ReadOne(Job& job, std::string& buffer) const
{
    ImportOptions options;
    options.source = ReadingsSource::ProjectReadings;
    options.load_column = job.columns[0];
    options.strain_column = job.columns[1];
    options.stress_column = job.columns[2];
    try {
        ImportResult table = TensileImport::ReadFile(job.path, options, buffer);
        ExperimentSpecimen& specimen = *job.specimen;
        ReadingsLink unlinked;
        ReadingsLink& link = specimen.readings_link ? *specimen.readings_link : unlinked;
        // What the project leaves out, the machine's lines above the readings give.
        for (auto [member, value, field, given] :
             {std::tuple{&specimen.width, table.width, "width", &link.width},
              std::tuple{&specimen.thickness, table.thickness, "thickness", &link.thickness}}) {
            if (std::isnan(*member))
                *member = *given = value;
            if (std::isnan(*member)) {
                job.error = std::string("the specimen has no ") + field + ": give it in the project or above the readings";
                return;
            }
        }
        if (specimen.name.empty()) {
            if (const std::string problem = ProjectSchema::NameLengthProblem(table.specimen_name); !problem.empty()) {
                job.error = job.path + ": the Specimen ID " + problem;
                return;
            }
            specimen.name = link.name = table.specimen_name;
        }
        specimen.load_series = std::move(table.load);
        specimen.strain_series = std::move(table.strain);
        specimen.stress_series = std::move(table.stress);
        link.fingerprint = ReadingsFingerprint(specimen);
    } catch (const ImportError& error) {
        job.error = error.what();
    } catch (const std::bad_alloc&) {
        job.error = job.path + ": not enough memory to read the readings file";
    } catch (const std::exception& error) {
        // Nothing else is expected, but an exception leaving a thread would abort.
        job.error = job.path + ": " + error.what();
    }
}

// Takes jobs in order until none is left or one before them has failed (its error
// is the one reported, so the files after it need not be read).
void ReadingsBatch::Work()
{
    std::string buffer; // one per thread, reused for every file it reads
    while (true) {
        size_t index = 0;
        {
            const std::lock_guard<std::mutex> lock(m_lock);
            if (m_next >= m_jobs.size() || m_next > m_failed)
                return;
            index = m_next++;
        }
        ReadOne(m_jobs[index], buffer);
        if (!m_jobs[index].error.empty()) {
            const std::lock_guard<std::mutex> lock(m_lock);
            m_failed = std::min(m_failed, index);
        }
    }
}

bool ReadingsBatch::ReadAll(std::string& failed_where, std::string& message)
{
    m_next = 0;
    m_failed = m_jobs.size();
    const size_t cores = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> helpers;
    for (size_t i = 1; i < std::min(cores, m_jobs.size()); ++i) {
        try {
            helpers.emplace_back([this] { Work(); });
        } catch (const std::system_error&) {
            break; // no more threads: the ones there are do the work
        }
    }
    Work();
    for (std::thread& helper : helpers)
        helper.join();
    if (m_failed == m_jobs.size())
        return true;
    failed_where = m_jobs[m_failed].where;
    message = m_jobs[m_failed].error;
    return false;
}

bool ReadingsBatch::ReadAgain(ExperimentSpecimen& specimen, std::string& message)
{
    if (!specimen.readings_link)
        return false;
    ReadingsBatch batch;
    batch.Add(specimen.readings_link->full_path, {}, specimen, specimen.readings_link->columns);
    std::string where;
    if (!batch.ReadAll(where, message))
        return false;
    specimen.unread_cells.clear(); // the file's readings are all numbers
    return true;
}
