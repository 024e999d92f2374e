#include "forms/resultstatebanner.h"

ResultStateBanner::ResultStateBanner(QWidget* parent) : QLabel(parent)
{
    setObjectName("ResultStateBanner");
    setWordWrap(true);
    // A warning's colours in every look: dark text on a pale amber, with a border.
    setStyleSheet("QLabel { background: #fff4ce; color: #4a3b00; border: 1px solid #e0c060;"
                  " padding: 4px 8px; font-weight: bold; }");
    hide();
}

QString ResultStateBanner::OutOfDateText() { return tr("Inputs changed since the last Calculate: press Calculate"); }

QString ResultStateBanner::NotCalculatedText() { return tr("Not calculated"); }

void ResultStateBanner::ShowState(ProjectDocument::ResultState state)
{
    m_state = state;
    using State = ProjectDocument::ResultState;
    setText(state == State::OutOfDate ? OutOfDateText() : state == State::NotCalculated ? NotCalculatedText() : QString());
    setVisible(state != State::Current);
}
