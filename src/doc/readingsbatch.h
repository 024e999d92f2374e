#pragma once

#include <cstddef>
#include <mutex>
#include <array>
#include <string>
#include <vector>

struct ExperimentSpecimen;

// The readings files of a project, read in parallel, one file per core at a time.
// Each file's series go to its specimen. A failure is reported as reading the files
// one after another would report it: the first failing file in the order given.
class ReadingsBatch {
public:
    // where names the place in the project (for the message), specimen receives the
    // series and must outlive ReadAll.
    // columns: the Load, Strain and Stress columns from 0, or -1 to take them from the header.
    void Add(const std::string& path, const std::string& where, ExperimentSpecimen& specimen,
             std::array<int, 3> columns = {-1, -1, -1});
    size_t Count() const { return m_jobs.size(); }

    // Reads every file added. False when one could not be read: failed_where and
    // message then tell the first of them.
    bool ReadAll(std::string& failed_where, std::string& message);

    // Reads a linked specimen's readings again from its file, as opening its project
    // would; false, with the message naming the file, when it cannot be read.
    static bool ReadAgain(ExperimentSpecimen& specimen, std::string& message);

private:
    struct Job {
        std::string path;
        std::string where;
        ExperimentSpecimen* specimen = nullptr;
        std::string error; // empty while the file reads
        std::array<int, 3> columns;
    };

    void ReadOne(Job& job, std::string& buffer) const;
    void Work();

    std::vector<Job> m_jobs;
    std::mutex m_lock;
    size_t m_next = 0;   // the next job to take, under m_lock
    size_t m_failed = 0; // the first failed job so far, m_jobs.size() for none
};
