#pragma once

#include "doc/messagesink.h"

#include <QStringList>

#include <string>
#include <vector>

// Records the messages a test run would have shown in boxes.
class RecordingMessageSink : public MessageSink {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    QStringList Messages() const;
    void Clear() { messages.clear(); }
    std::vector<std::string> messages;
};

// Settings and standard paths of the test run, apart from the user's.
void IsolateSettings();
