#include "forms/filedialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

namespace FileDialogs {

namespace {
const char* const kLastFolderKey = "Folders/LastFolder";
}

QString StartFolder()
{
    const QString last = QSettings().value(kLastFolderKey).toString();
    return !last.isEmpty() && QFileInfo(last).isDir() ? last : QDir::homePath();
}

void RememberFolderOf(const QString& path)
{
    QSettings().setValue(kLastFolderKey, QFileInfo(path).absolutePath());
}

QString FilterSuffix(const QString& filter)
{
    static const QRegularExpression pattern(R"(\*\.([A-Za-z0-9]+))");
    const QRegularExpressionMatch match = pattern.match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}

QString AskSavePath(QWidget* parent, const QString& title, const QString& name, const QString& filter)
{
    const QString start = QFileInfo(name).isAbsolute() ? name : QDir(StartFolder()).filePath(name);
    QString selected;
    QString path = QFileDialog::getSaveFileName(parent, title, start, filter, &selected);
    if (path.isEmpty())
        return path;
    const QString suffix = FilterSuffix(selected.isEmpty() ? filter : selected);
    if (QFileInfo(path).suffix().isEmpty() && !suffix.isEmpty())
        path += "." + suffix;
    // Remembered by the caller once the file is written: a failed save must not
    // send the next dialog to a folder that refused it.
    return path;
}

QString AskOpenPath(QWidget* parent, const QString& title, const QString& filter, const QString& start)
{
    const QString path =
        QFileDialog::getOpenFileName(parent, title, start.isEmpty() ? StartFolder() : start, filter);
    if (!path.isEmpty())
        RememberFolderOf(path);
    return path;
}

QStringList AskOpenPaths(QWidget* parent, const QString& title, const QString& filter)
{
    return QFileDialog::getOpenFileNames(parent, title, StartFolder(), filter);
}

} // namespace FileDialogs
