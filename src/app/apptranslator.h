#pragma once

#include "util/messagelanguage.h"

#include <QTranslator>

// The desktop program's texts in the user's language: the English translation for
// every locale but a Korean one, whose texts are the program's own. The engine's
// messages are translated line by line in the context "msg" (see guibase/messagebox).
class AppTranslator {
public:
    // Loads the language's translation and installs it in the application; false
    // when it cannot be loaded (the texts then stay the source texts).
    bool Install(MessageLanguage language);
    ~AppTranslator();

private:
    QTranslator m_translator;
    bool m_installed = false;
};
