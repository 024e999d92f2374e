#include "app/apptranslator.h"

#include <QCoreApplication>

bool AppTranslator::Install(MessageLanguage language)
{
    const QString file = language == MessageLanguage::Korean ? QStringLiteral(":/i18n/plyforge_ko.qm")
                                                             : QStringLiteral(":/i18n/plyforge_en.qm");
    if (m_installed)
        QCoreApplication::removeTranslator(&m_translator);
    m_installed = m_translator.load(file) && QCoreApplication::installTranslator(&m_translator);
    return m_installed;
}

AppTranslator::~AppTranslator()
{
    if (m_installed)
        QCoreApplication::removeTranslator(&m_translator);
}
