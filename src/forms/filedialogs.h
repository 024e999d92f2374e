#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The program's file dialogs: they start in the folder of the last file the user
// chose (kept in the settings), else the home folder, not wherever the program
// happened to be started; a saved name without a suffix gets the chosen filter's.
namespace FileDialogs {

// The path to save to, or empty when the user cancelled. name is the suggested
// file name; a name with a folder starts there. The caller remembers the folder
// (RememberFolderOf) once the file is written.
QString AskSavePath(QWidget* parent, const QString& title, const QString& name, const QString& filter);
// The file to open, or empty.
QString AskOpenPath(QWidget* parent, const QString& title, const QString& filter, const QString& start = {});

// The files to open, or none.
QStringList AskOpenPaths(QWidget* parent, const QString& title, const QString& filter);

// Where the next dialog starts.
QString StartFolder();
void RememberFolderOf(const QString& path);
// The suffix of the first pattern of a filter ("CSV (*.csv)" gives "csv"), or empty.
QString FilterSuffix(const QString& filter);

} // namespace FileDialogs
