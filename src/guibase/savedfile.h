#pragma once

#include <QByteArray>
#include <QString>

#include <string>
#include <vector>

// The desktop program's exports written as the engine writes its files: whole or
// not at all (a temporary beside the target, flushed, then renamed over it), only
// over a regular file, through links, keeping the file's mode, and never over one
// of the project's inputs (its file, the readings files it names). Empty on
// success, else why, with the system's reason.
QString WriteSavedFile(const QString& path, const QByteArray& data, const std::vector<std::string>& inputs = {});
// Why path may not be written (empty: it may), without writing anything; for an
// export that is costly to draw.
QString SavedFileRefusal(const QString& path, const std::vector<std::string>& inputs);
