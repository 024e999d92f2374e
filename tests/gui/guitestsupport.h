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

class CMainFrame;
class CPlyforgeView;

// Clicks the tree item with this text on its label, as a user does; false when
// there is no such item.
bool ClickTreeItem(CMainFrame* frame, const QString& text);
// The main input view of the open windows, or nullptr.
CPlyforgeView* FindMainView(CMainFrame* frame);
