#pragma once

#include <string>
#include <string_view>
#include <vector>

// Writes a whole file so that no failure destroys what was there: the text goes to
// a new temporary file in the target's folder, is flushed to the disk and then
// renamed over the target. A full disk or a killed process leaves the previous file
// whole. Only a regular file (or a new name) is replaced; a symbolic link is
// written through to the file it names and stays a link, and a replaced file keeps
// its mode and owner.
class SafeFileWriter {
public:
    enum class Refusal { None, NotRegular, SameAsInput, ReadOnly, Failed };

    struct Outcome {
        Refusal refusal = Refusal::None;
        std::string reason; // why, in words, with the system's reason where it gave one
        bool Ok() const { return refusal == Refusal::None; }
    };

    struct Options {
        std::vector<std::string> inputs; // files the output must never replace
        bool refuse_read_only = false;   // refuse a target nobody may write to
    };

    // Whether path may be written, without writing (nor opening) anything.
    static Outcome Check(const std::string& path, const Options& options);
    static Outcome Write(const std::string& path, std::string_view text, const Options& options);
    static Outcome Write(const std::string& path, std::string_view text) { return Write(path, text, Options()); }
};
