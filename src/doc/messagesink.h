#pragma once

#include <string>

// Where the engine and the commands show a message to the user: one UTF-8 text,
// modal, OK only. The desktop program shows a message box; the command-line
// calculator prints a line; tests record.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void ShowMessage(const std::string& text) = 0;
};
