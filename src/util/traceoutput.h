#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// Where the engine's trace of every calculation step goes: standard output unless
// a caller (a test, a benchmark) redirects it.
class TraceOutput {
public:
    static void Write(std::string_view text);

    // Send the trace to this stream (nullptr: standard output).
    static void SetFile(std::FILE* file);

    // Append the trace to this string instead of a stream (nullptr: back to the stream).
    static void SetCapture(std::string* capture);

    // Flush the stream at the end of a run, so the trace is out before any message.
    static void Flush();
};
