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
constexpr int kFileNotSaved = 1112;            // %1: the file
constexpr int kExportNoEditorLine = 1113;      // %1: EditFileName
constexpr int kFoldersNotHeldAsIs = 1114;      // %1: the folders
constexpr int kNameLeadingMark = 1115;         // %1: the name
constexpr int kNameEndsInBlankOrDot = 1116;    // %1: the name
constexpr int kLinksNotFollowed = 1117;        // %1: the links, below the kit
constexpr int kScanProgress = 1118;            // %1: how many folders

// The kit check (1200-1249): its window, and one sentence per finding.
constexpr int kCheckMenu = 1200;
constexpr int kCheckTitle = 1201;
constexpr int kCheckOptionsButton = 1202;
constexpr int kCheckAgainButton = 1203;
constexpr int kCheckCloseButton = 1204;
constexpr int kCheckColumnSetting = 1205;
constexpr int kCheckColumnFinding = 1206;
constexpr int kCheckColumnPath = 1207;
constexpr int kCheckSettingsMissing = 1210;
constexpr int kCheckSettingsRead = 1211;
constexpr int kCheckSettingsLineForm = 1212;
constexpr int kCheckSettingsUnread = 1213;
constexpr int kCheckCompilerThere = 1214;
constexpr int kCheckCompilerMissing = 1215;
constexpr int kCheckRuntimeThere = 1216;
constexpr int kCheckRuntimeMissing = 1217;
constexpr int kCheckPieceThere = 1218;
constexpr int kCheckPieceMissing = 1219;
constexpr int kCheckEditorPieceThere = 1220;
constexpr int kCheckEditorPieceMissing = 1221;
constexpr int kCheckSourcesThere = 1222;
constexpr int kCheckNoSources = 1223;
constexpr int kCheckNoneSelected = 1224;
constexpr int kCheckClassesThere = 1225;
constexpr int kCheckClassesMade = 1226;
constexpr int kCheckClassesNotMade = 1227;
constexpr int kCheckSourceRootThere = 1228;
constexpr int kCheckSourceRootMissing = 1229;
constexpr int kCheckRuntimeRootThere = 1230;
constexpr int kCheckRuntimeRootMissing = 1231;
constexpr int kCheckEntriesThere = 1232;
constexpr int kCheckEntryMissing = 1233;
constexpr int kCheckHelpThere = 1234;
constexpr int kCheckHelpMissing = 1235;
constexpr int kCheckBlank = 1236;  // %1: the words, quoted
} // namespace msg

} // namespace core
