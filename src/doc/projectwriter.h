#pragma once

#include <string>

class CPlyforgeDoc;

// Writes every input of a project in the project file format. Every double is
// written in the shortest text that reads back to the same value. A specimen whose
// readings are still those of the readings file its project named is written with
// that file instead of its readings.
class ProjectWriter {
public:
    // project_folder: where the file goes, so that a readings file named relative to
    // the project it was opened from is named relative to this one (empty: as it was).
    static std::string Serialize(const CPlyforgeDoc& doc, const std::string& project_folder = {});

    // Atomic: the text goes to a temporary file beside path, which then replaces
    // path, so a failure leaves the previous file as it was. A link is written
    // through, the file keeps its mode, and a read-only file is refused unless
    // replace_read_only (the user said so). Throws ProjectFileError naming the
    // path and the reason.
    static void WriteFile(const std::string& path, const CPlyforgeDoc& doc, bool replace_read_only = false);

    static void AppendNumber(std::string& out, double value);
};
