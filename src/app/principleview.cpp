#include "app/principleview.h"

#include "app/childframe.h"
#include "guibase/captions.h"
#include "util/programpaths.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

CPrincipleView::CPrincipleView(CChildFrame* frame, QWidget* parent) : QTextBrowser(parent)
{
    setObjectName("PrincipleView");
    frame->SetCaption(captions::kTheoryView);
    setOpenExternalLinks(false);
    const QString path = PagePath(QString::fromStdString(ProgramPaths::DataFolder()));
    if (QFileInfo::exists(path))
        setSource(QUrl::fromLocalFile(path));
    else
        setHtml(tr("<h2>Page not found</h2><p>%1 is missing.</p>").arg(path.toHtmlEscaped()));
}

QString CPrincipleView::PagePath(const QString& data_folder)
{
    return QDir(data_folder).filePath(ProgramPaths::kMarkerFile);
}
