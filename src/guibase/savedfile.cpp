#include "guibase/savedfile.h"

#include "util/safefilewriter.h"

#include <QFile>

#include <string_view>

QString WriteSavedFile(const QString& path, const QByteArray& data)
{
    const SafeFileWriter::Outcome outcome = SafeFileWriter::Write(
        QFile::encodeName(path).toStdString(), std::string_view(data.constData(), static_cast<size_t>(data.size())));
    return outcome.Ok() ? QString() : QString::fromStdString(outcome.reason);
}
