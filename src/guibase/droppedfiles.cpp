#include "guibase/droppedfiles.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

QStringList DroppedFiles(const QMimeData* data)
{
    QStringList paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    return paths;
}

bool TakeFileDrop(QEvent* event, QStringList& paths)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto* drop = static_cast<QDropEvent*>(event); // drag enter and move events are drop events
    const QStringList files = DroppedFiles(drop->mimeData());
    if (files.isEmpty())
        return false;
    drop->acceptProposedAction();
    if (type == QEvent::Drop)
        paths = files;
    return true;
}
