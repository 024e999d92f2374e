#pragma once

#include <string>
#include <string_view>

// The language of the user's messages. The program's own texts are its source
// strings (Korean messages, English labels); a Korean locale sees them as they
// are, every other locale the English translation.
enum class MessageLanguage { English, Korean };

// From the environment as gettext reads it: LANGUAGE's first entry, then LC_ALL,
// LC_MESSAGES and LANG; "ko" (ko_KR.UTF-8, ...) is Korean, anything else English.
// The getter is the environment's (std::getenv by default), for tests.
MessageLanguage MessageLanguageFromEnvironment(const char* (*getenv)(const char*) = nullptr);

// A message in the language: each line that is one of the engine's messages is
// translated, every other line (a place, a value, a file name) is kept.
std::string TranslateMessage(std::string_view text, MessageLanguage language);
