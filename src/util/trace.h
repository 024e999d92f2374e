#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// Where a calculation writes the trace of its steps: a stream (standard output for
// the desktop program and the theory command), a string, or nowhere. Whoever runs a
// calculation makes one and passes it down; nothing of it is process-wide.
class Trace {
public:
    explicit Trace(std::FILE* file = stdout) : m_file(file) {}
    explicit Trace(std::string& capture) : m_capture(&capture) {}
    // A trace nobody reads (a report, a test).
    static Trace Discard() { return Trace(static_cast<std::FILE*>(nullptr)); }

    void Write(std::string_view text);
    // Flushes the stream at the end of a run, so the trace is out before any message.
    void Flush();

private:
    std::FILE* m_file = nullptr;
    std::string* m_capture = nullptr;
};
