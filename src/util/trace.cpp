#include "util/trace.h"

void Trace::Write(std::string_view text)
{
    if (m_capture)
        m_capture->append(text);
    else if (m_file)
        std::fwrite(text.data(), 1, text.size(), m_file);
}

void Trace::Flush()
{
    if (m_file)
        std::fflush(m_file);
}
