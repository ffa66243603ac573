#pragma once
#include <QString>
#include <optional>

namespace core {

enum class Language { English, Japanese };

// The language the captions are shown in: Japanese for a Japanese user
// locale, English otherwise. Chosen once at start; tests may set it.
Language currentLanguage();
void setCurrentLanguage(Language language);
// The rule: Japanese for a Japanese locale name ("ja_JP"), English for any
// other.
Language languageForLocale(const QString &localeName);

// Text number id of the string table, or nothing when the table has no such
// id.
std::optional<QString> stringText(int id);
std::optional<QString> stringText(int id, Language language);

// A text of the program's own in the current language ("%1" stands for what
// the caller fills in); empty when the table has no such id.
QString message(int id);

// Ids of the program's own texts. The captions keep 1000-1099; 1100-1149
// are the window's messages.
namespace msg {
constexpr int kEditNoExtension = 1100;
constexpr int kEditNoSourceRoot = 1101;
constexpr int kEditNotStarted = 1102;
constexpr int kCompileNotStarted = 1103;
constexpr int kSourceRootUnreadable = 1104;  // %1: the folder
constexpr int kFoldersUnreadable = 1105;     // %1: the folders, below the kit
constexpr int kSettingsUnread = 1106;        // %1: the settings file's name
constexpr int kSettingsReplace = 1107;       // %1: the settings file
constexpr int kExportOutsideCodePage = 1108;
constexpr int kNameOutsideTree = 1109;       // %1: the name
constexpr int kNameOutsideCodePage = 1110;   // %1: the name
constexpr int kFoldersOutsideCodePage = 1111;  // %1: the folders
} // namespace msg

} // namespace core
