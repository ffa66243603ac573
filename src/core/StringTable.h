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
// The buttons of the program's message boxes, questions and input box.
constexpr int kCancel = 1012;
constexpr int kOK = 1013;
constexpr int kYes = 1300;
constexpr int kNo = 1301;
// Qt's words for the kinds of file in a file chooser, where its own
// catalogue has none.
constexpr int kQtFolder = 1302;
constexpr int kQtFileFolder = 1303;
constexpr int kQtFile = 1304;
constexpr int kQtSuffixFile = 1305;  // %1: the file's suffix
constexpr int kQtDrive = 1306;
constexpr int kQtShortcut = 1307;
constexpr int kQtUnknown = 1308;

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

// Files and windows, New (1171-1199; 1150-1170 are the scripted run's).
constexpr int kCheckSettingsNoValues = 1171;
constexpr int kNewTitle = 1172;
constexpr int kNewPrompt = 1173;
constexpr int kSysInfoUnavailable = 1174;
constexpr int kNewFolderExists = 1175;      // %1: the folder
constexpr int kNewParentsMissing = 1176;    // %1: the folders
constexpr int kNewRootMissing = 1177;       // %1: the folder, %2: the folder it needs
constexpr int kNewNameTooLong = 1178;       // %1: the folder
constexpr int kNewFolderNotMade = 1179;     // %1: the folder
constexpr int kWorkspaceUnreadAtStart = 1180;  // %1: the workspace file
constexpr int kWorkspaceReplace = 1181;        // %1: the workspace file

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
constexpr int kCheckQuoteOpen = 1237;
constexpr int kCheckProgramPastBlank = 1238;
constexpr int kCheckWorkspaceUnread = 1239;
// The words of the Setting column for what is no setting (1250-1254).
constexpr int kCheckNameSettingsFile = 1250;
constexpr int kCheckNameWorkspaceFile = 1251;
constexpr int kCheckNameWorkspace = 1252;
constexpr int kCheckNameSelectedEntry = 1253;
constexpr int kCheckNameHelpPage = 1254;
constexpr int kCheckNotExecutable = 1255;
constexpr int kCheckNeitherElfNorScript = 1256;
constexpr int kCheckInterpreterNotRunnable = 1257;
constexpr int kCheckNoProgramImage = 1258;
constexpr int kCheckProgramQuoteOpen = 1259;
constexpr int kCheckClassesNoWord = 1260;
constexpr int kCheckClassesFileInPlace = 1261;
constexpr int kCheckBatchCharacters = 1262;  // %1: the characters, quoted

// The kit check's tools and mends (1500-1559).
constexpr int kMendButton = 1500;
constexpr int kMendUse = 1501;    // %1: the program, %2: where it was found
constexpr int kMendQuote = 1502;  // %1: the value quoted
constexpr int kMendMake = 1503;   // %1: the folder
constexpr int kMendNotMade = 1504;  // %1: the folder
constexpr int kCheckKindJavac = 1510;
constexpr int kCheckKindEcj = 1511;
constexpr int kCheckKindJikes = 1512;
constexpr int kCheckKindUnknown = 1513;
constexpr int kCheckJavaHome = 1520;          // %1: its programs
constexpr int kCheckJavaPath = 1521;          // %1: its programs
constexpr int kCheckJavaSystemFolder = 1522;  // %1: its programs
constexpr int kCheckJavaRegistry = 1523;      // %1: its programs, %2: the key
constexpr int kCheckJavaProgramFiles = 1524;  // %1: its programs
constexpr int kCheckJavaNone = 1525;

// The compile window (1400-1469): its captions, its end lines and counts.
constexpr int kCompileTitle = 1400;
constexpr int kCompileCommandLabel = 1401;
constexpr int kCompileStopButton = 1402;
constexpr int kCompileCloseButton = 1403;
constexpr int kCompileColumnFile = 1404;
constexpr int kCompileColumnLine = 1405;
constexpr int kCompileColumnMessage = 1406;
constexpr int kCompileMessagesLabel = 1407;
constexpr int kCompileOutputLabel = 1408;
constexpr int kCompileRunning = 1410;
constexpr int kCompileError = 1411;
constexpr int kCompileWarning = 1412;
constexpr int kCompileLogNotWritten = 1413;  // %1: the kit folder, %2: where the output goes instead
constexpr int kCompileStillRunning = 1414;
constexpr int kCompileNoFunctionBlock = 1415;  // %1: src\<package>\<Name>.fbt
constexpr int kCompileNotFromBlock = 1416;     // %1: the Java file
constexpr int kCompileLinesDropped = 1417;     // %1: how many lines are kept, %2: the log file
constexpr int kEditorEndedAtOnce = 1418;       // %1: how it ended
constexpr int kCompileEndedSuccess = 1420;     // %1: how it ended, %2: the counts
constexpr int kCompileEndedFailure = 1421;     // %1: how it ended, %2: the counts
constexpr int kCompileCrashed = 1422;          // %1: how it ended, %2: the counts
constexpr int kCompileStopped = 1423;          // %1: the counts
constexpr int kCompileNoMessages = 1430;
constexpr int kCompileOneError = 1431;
constexpr int kCompileErrors = 1432;  // %1: how many
constexpr int kCompileOneWarning = 1433;
constexpr int kCompileWarnings = 1434;  // %1: how many
constexpr int kCompileCountJoin = 1435;
constexpr int kEndStatus = 1440;     // %1: the exit status
constexpr int kEndSignal = 1441;     // %1: the signal
constexpr int kEndException = 1442;  // %1: the exception code
// The compile window beyond its first form (1470-1499).
constexpr int kCompileNoLog = 1470;               // %1: the kit folder
constexpr int kCompileLinesLost = 1471;           // %1: how many lines are kept
constexpr int kCompileMessagesDropped = 1472;     // %1: how many
constexpr int kCompileLeftRunning = 1473;         // %1: how it ended
constexpr int kCompileLeftoversStopped = 1474;
constexpr int kCompileNoFileNamed = 1475;
constexpr int kCompileOpenJavaFile = 1476;        // %1: why there is no block, %2: the Java file
constexpr int kCompileJavaFileNotOpened = 1477;   // %1: the Java file
constexpr int kCompileResultsMenu = 1478;
constexpr int kCompileTitleOfPackage = 1479;      // %1: the package
} // namespace msg

} // namespace core
