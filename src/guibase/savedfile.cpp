#include "guibase/savedfile.h"

#include "util/safefilewriter.h"

#include <QFile>

#include <string_view>

namespace {
SafeFileWriter::Options WithInputs(const std::vector<std::string>& inputs)
{
    SafeFileWriter::Options options;
    options.inputs = inputs;
    return options;
}
} // namespace

QString WriteSavedFile(const QString& path, const QByteArray& data, const std::vector<std::string>& inputs)
{
    const SafeFileWriter::Outcome outcome =
        SafeFileWriter::Write(QFile::encodeName(path).toStdString(),
                              std::string_view(data.constData(), static_cast<size_t>(data.size())), WithInputs(inputs));
    return outcome.Ok() ? QString() : QString::fromStdString(outcome.reason);
}

QString SavedFileRefusal(const QString& path, const std::vector<std::string>& inputs)
{
    const SafeFileWriter::Outcome outcome = SafeFileWriter::Check(QFile::encodeName(path).toStdString(), WithInputs(inputs));
    return outcome.Ok() ? QString() : QString::fromStdString(outcome.reason);
}
