#pragma once

#include "model/projectdocument.h"

#include <QLabel>

// The line at the top of a results view that says when its results do not belong to
// the project's present inputs; hidden while they do.
class ResultStateBanner : public QLabel {
    Q_OBJECT

public:
    explicit ResultStateBanner(QWidget* parent = nullptr);
    void ShowState(ProjectDocument::ResultState state);
    ProjectDocument::ResultState State() const { return m_state; }

    static QString OutOfDateText();
    static QString NotCalculatedText();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // In a view wider than its window, the line wraps to what the window shows.
    void FitVisibleWidth();
    QWidget* m_viewport = nullptr;
    ProjectDocument::ResultState m_state = ProjectDocument::ResultState::Current;
};
