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
class QCheckBox;
class QLineEdit;
class QToolButton;

// The ribbon's widgets, found by their command IDs as a user finds them by label.
struct RibbonWidgets {
    explicit RibbonWidgets(CMainFrame* frame);
    QToolButton* projectNew;
    QLineEdit* theoryLamina;
    QToolButton* theoryApply;
    QLineEdit* theoryScaleFactor;
    QToolButton* theoryCalculate;
    QLineEdit* experimentLamina;
    QToolButton* experimentApply;
    QLineEdit* elasticMin;
    QLineEdit* elasticMax;
    QToolButton* experimentCalculate;
    QCheckBox* menuViewCheck;
    QCheckBox* logViewCheck;
};

// Clicks the tree item with this text on its label, as a user does; false when
// there is no such item.
bool ClickTreeItem(CMainFrame* frame, const QString& text);
// The main input view of the open windows, or nullptr.
CPlyforgeView* FindMainView(CMainFrame* frame);
