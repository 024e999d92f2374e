#include "forms/resultstatebanner.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QFontMetrics>

#include <algorithm>

ResultStateBanner::ResultStateBanner(QWidget* parent) : QLabel(parent)
{
    setObjectName("ResultStateBanner");
    setWordWrap(true);
    // A warning's colours in every look: dark text on a pale amber, with a border.
    setStyleSheet("QLabel { background: #fff4ce; color: #4a3b00; border: 1px solid #e0c060; padding: 4px 8px; }");
    QFont bold = font(); // set here, not in the style sheet, so that its width can be measured
    bold.setBold(true);
    setFont(bold);
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
    if (isVisible())
        FitVisibleWidth();
}

void ResultStateBanner::showEvent(QShowEvent* event)
{
    QLabel::showEvent(event);
    if (!m_viewport) {
        for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
            if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) {
                m_viewport = area->viewport();
                m_viewport->installEventFilter(this);
                break;
            }
        }
    }
    FitVisibleWidth();
}

bool ResultStateBanner::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_viewport && event->type() == QEvent::Resize)
        FitVisibleWidth();
    return QLabel::eventFilter(watched, event);
}

void ResultStateBanner::FitVisibleWidth()
{
    if (!m_viewport)
        return;
    // The view's margins on both sides stay visible too.
    // One line where the window has room for it (the padding and border besides the text).
    const int line = QFontMetrics(font()).horizontalAdvance(text()) + 2 * 8 + 2 * 1 + 8;
    const int width = std::min(line, std::max(160, m_viewport->width() - 24));
    setFixedWidth(width);
    // The lines it wraps to, all of them: the view's layout asks no label its height for a width.
    setMinimumHeight(heightForWidth(width));
}
