#pragma once

#include "doc/messagesink.h"

#include <QString>

class QObject;

// Every message of the desktop program is shown from an object (a window, a form, a
// command) and goes to the sink installed on it or on the nearest object above it
// (the main window, or the application in a test), translated line by line into the
// user's language; without one, a modal box with an OK button only, over the
// object's window and titled as its main window. Nothing of this is process-wide.

// Messages shown from root and everything under it go to sink (nullptr: boxes again).
void InstallMessageSink(QObject* root, MessageSink* sink);

void ShowMessageBox(const QObject* from, const QString& text);

// The engine's messages for a window: what a calculation or a document it runs shows.
class WindowMessageSink : public MessageSink {
public:
    explicit WindowMessageSink(const QObject* window) : m_window(window) {}
    void ShowMessage(const std::string& text) override;

private:
    const QObject* m_window;
};

// Each line that is one of the program's messages in the user's language; places,
// values and file names are kept as they are.
QString TranslatedMessage(const QString& text);
