#pragma once
#include <QHash>
#include <QString>

#include <functional>

// The settings file beside the program: the XML form that is read and
// written, and the older line form that is still read. Everything works on
// a plain key -> value table, so the dialog and the tests share one code
// path.
namespace settings {

using Values = QHash<QString, QString>;
// Switches the busy pointer on (true) and off (false) around a slow read.
using BusyHook = std::function<void(bool)>;

// All nine keys with the values they hold before any file is read.
Values defaultValues();

// appPath + "\TAVO_Starter.ini"; backslashes are kept.
QString GetSettingsPath(const QString &appPath);

// CR LF followed by three blanks per level; negative levels count as 0.
QString IndentNode(qint16 level);

// The whole file for these values, as it is written to disk.
QByteArray settingsDocument(const Values &values);

// What reading the settings file found.
enum class LoadOutcome {
    Missing,     // no file: the values stay as they were (the defaults)
    Xml,         // well-formed XML, read
    LineForm,    // the older line form, read
    Malformed,   // begins as XML but is not well-formed: nothing taken
    Unreadable,  // there, but cannot be opened or read: nothing taken
};

// Overwrites in values what the file at path holds. A well-formed XML file
// gives every group attribute it has (missing ones keep their value); a file
// that does not begin with "<" (after a byte-order mark and blanks) is read
// in the line form. A file that begins as XML but is broken (a hand edit, a
// cut write) is never read as lines: its markup would become settings.
LoadOutcome LoadSettings(const QString &path, Values &values, const BusyHook &busy = {});
// True when a load with that outcome left a file the user may still want.
bool keptUnread(LoadOutcome outcome);

// The line form: up to seven comma-delimited fields, assigned in order
// JREpath, libpath, dt-packages, javapath, Organization, Author, CP until
// the file runs out.
void LoadLegacySettings(const QString &path, Values &values, const BusyHook &busy = {});

// Writes the whole file and only then replaces the old one; where the folder
// takes no new file but the file may be written, it is written in place.
// Returns false when nothing was written; the program itself never reports
// that.
bool SaveSettings(const QString &path, const Values &values);

} // namespace settings
