#include "app/logview.h"

#include "controls/richeditcustomctrl.h"
#include "guibase/captions.h"
#include "util/timefunction.h"

#include <QVBoxLayout>

CLogView::CLogView(QWidget* parent) : QWidget(parent), m_richEdit(new CRichEditCustomCtrl(this))
{
    m_richEdit->setObjectName("LogRichEdit");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_richEdit);
}

void CLogView::OnInitialUpdate()
{
    m_richEdit->Clear();
    AddLog(QString::fromUtf8(captions::kAppTitle) + "'s started at", true);
}

void CLogView::AddLog(QString text, bool with_time)
{
    if (text.endsWith('\n'))
        text.chop(1);
    if (with_time)
        text += ' ' + QString::fromStdString(CTimeFunction().GetLocalTimeText()) + '\n';
    text += '\n';
    m_richEdit->AppendText(text);
}
