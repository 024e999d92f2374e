#include "util/traceoutput.h"

namespace {
std::FILE* g_file = nullptr;
std::string* g_capture = nullptr;
} // namespace

void TraceOutput::Write(std::string_view text)
{
    if (g_capture) {
        g_capture->append(text);
        return;
    }
    std::fwrite(text.data(), 1, text.size(), g_file ? g_file : stdout);
}

void TraceOutput::SetFile(std::FILE* file) { g_file = file; }

void TraceOutput::SetCapture(std::string* capture) { g_capture = capture; }

void TraceOutput::Flush()
{
    if (!g_capture)
        std::fflush(g_file ? g_file : stdout);
}
