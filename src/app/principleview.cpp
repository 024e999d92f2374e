#include "app/principleview.h"

#include "app/captions.h"
#include "app/childframe.h"
#include "doc/plyforgedoc.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

CPrincipleView::CPrincipleView(CChildFrame* frame, QWidget* parent) : QTextBrowser(parent)
{
    setObjectName("PrincipleView");
    frame->SetCaption(captions::kTheoryView);
    setOpenExternalLinks(false);
    const QString folder = frame->Document() ? QString::fromStdString(frame->Document()->program_folder)
                                             : QCoreApplication::applicationDirPath();
    const QString path = PagePath(folder);
    if (QFileInfo::exists(path))
        setSource(QUrl::fromLocalFile(path));
    else
        setHtml(tr("<h2>Page not found</h2><p>%1 is missing.</p>").arg(path.toHtmlEscaped()));
}

QString CPrincipleView::PagePath(const QString& program_folder)
{
    const QString beside = QDir(program_folder).filePath("html/Theory.html");
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed = QDir(program_folder).filePath("../share/plyforge/html/Theory.html");
    return QFileInfo::exists(installed) ? QDir::cleanPath(installed) : beside;
}
