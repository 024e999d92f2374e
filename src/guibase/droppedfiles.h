#pragma once

#include <QStringList>

class QMimeData;

// The local files a drag carries, in its order; none for other data.
QStringList DroppedFiles(const QMimeData* data);
