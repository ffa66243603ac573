#pragma once
#include <QString>
#include <optional>

namespace app {

enum class Language { English, Japanese };

// The language the captions are shown in: Japanese for a Japanese user
// locale, English otherwise. Chosen once at start; tests may set it.
Language currentLanguage();
void setCurrentLanguage(Language language);
Language languageForLocale(const QString &localeName);

// Text number id of the string table, or nothing when the table has no such
// id.
std::optional<QString> stringText(int id);
std::optional<QString> stringText(int id, Language language);

} // namespace app
