#include "guibase/droppedfiles.h"

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
