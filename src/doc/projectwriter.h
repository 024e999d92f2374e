#pragma once

#include <string>

class CPlyforgeDoc;

// Writes every input of a project in the project file format. Every double is
// written in the shortest text that reads back to the same value.
class ProjectWriter {
public:
    static std::string Serialize(const CPlyforgeDoc& doc);

    // Atomic: the text goes to a temporary file beside path, which then replaces
    // path, so a failure leaves the previous file as it was. Throws
    // ProjectFileError naming the path and the reason.
    static void WriteFile(const std::string& path, const CPlyforgeDoc& doc);

    static void AppendNumber(std::string& out, double value);
};
