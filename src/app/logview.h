#pragma once

#include <QWidget>

class CRichEditCustomCtrl;

// The "Log View" pane: the calculation log of the last run, headings coloured.
class CLogView : public QWidget {
    Q_OBJECT

public:
    explicit CLogView(QWidget* parent = nullptr);

    CRichEditCustomCtrl* RichEdit() const { return m_richEdit; }
    // Appends one entry; with_time adds a space and the local date and time.
    void AddLog(QString text, bool with_time);
    // The start line: the program's title, "'s started at" and the time.
    void OnInitialUpdate();

private:
    CRichEditCustomCtrl* m_richEdit;
};
