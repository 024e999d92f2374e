#pragma once

#include <QStringList>

class QEvent;
class QMimeData;

// The local files a drag carries, in its order; none for other data.
QStringList DroppedFiles(const QMimeData* data);

// For an event filter that takes dropped files: true when the event is a drag
// carrying local files (accepted) or their drop (accepted, paths set to them).
bool TakeFileDrop(QEvent* event, QStringList& paths);
