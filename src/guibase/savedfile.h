#pragma once

#include <QByteArray>
#include <QString>

// The desktop program's exports written as the engine writes its files: whole or
// not at all (a temporary beside the target, flushed, then renamed over it), only
// over a regular file, through links, keeping the file's mode. Empty on success,
// else why, with the system's reason.
QString WriteSavedFile(const QString& path, const QByteArray& data);
