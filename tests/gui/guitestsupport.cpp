#include "guitestsupport.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>

QStringList RecordingMessageSink::Messages() const
{
    QStringList list;
    for (const std::string& text : messages)
        list << QString::fromStdString(text);
    return list;
}

void IsolateSettings()
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    QCoreApplication::setOrganizationName("Local AppWizard-Generated Applications");
    QCoreApplication::setApplicationName("Plyforge");
    QSettings().clear();
}
