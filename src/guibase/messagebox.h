#pragma once

#include "doc/messagesink.h"

#include <QString>

// Every message of the desktop program goes through one sink, translated line by
// line into the user's language: a modal box with an OK button only, titled as its
// main window, unless a test has installed a recording sink.
class MessageBoxSink : public MessageSink {
public:
    void ShowMessage(const std::string& text) override;
};

// The sink in use; never null.
MessageSink& AppMessageSink();
// Replaces the sink (nullptr: back to message boxes).
void SetAppMessageSink(MessageSink* sink);

void ShowMessageBox(const QString& text);
// Each line that is one of the program's messages in the user's language; places,
// values and file names are kept as they are.
QString TranslatedMessage(const QString& text);
