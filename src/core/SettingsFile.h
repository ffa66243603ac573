#pragma once
#include "core/Settings.h"

#include <QByteArray>
#include <QString>

#include <functional>

// The settings file beside the program: the XML form that is read and
// written, and the older line form that is still read.
namespace core {

// Switches the busy pointer on (true) and off (false) around a slow read.
using BusyHook = std::function<void(bool)>;

// CR LF followed by three blanks per level; negative levels count as 0.
QString IndentNode(qint16 level);

// The whole file for these settings, as it is written to disk.
QByteArray settingsDocument(const Settings &settings);

// What reading the settings file found.
enum class LoadOutcome {
    Missing,     // no file: the settings stay as they were (the defaults)
    Xml,               // well-formed XML, values taken from it
    XmlWithoutValues,  // well-formed XML that holds no value where the program reads them (as
                       // attributes of Editor, Compiler, Properties): nothing taken
    LineForm,          // the older line form, read
    Malformed,         // begins as XML but is not well-formed: nothing taken
    Unreadable,        // there, but cannot be opened or read, or the line form's bytes are not
                       // text in the code page it is read in: nothing taken
};

// Overwrites in settings what the file at path holds. A well-formed XML file
// gives every group attribute it has (missing ones keep their value); a file
// that does not begin with "<" (after a byte-order mark and blanks) is read
// in the line form. A file that begins as XML but is broken (a hand edit, a
// cut write) is never read as lines: its markup would become settings.
LoadOutcome readSettingsFile(const QString &path, Settings &settings, const BusyHook &busy = {});
// True when a read with that outcome left a file the user may still want.
bool keptUnread(LoadOutcome outcome);

// The line form: up to seven comma-delimited fields, assigned in order
// JREpath, libpath, dt-packages, javapath, Organization, Author, CP until
// the file runs out. Read in its byte-order mark's encoding, else the
// system's code page, else (where that is UTF-8) the Windows code page of
// the user's language. False, with nothing assigned, when the file cannot
// be opened or its bytes are not text in that encoding.
bool readLegacySettings(const QString &path, Settings &settings, const BusyHook &busy = {});

// Writes the whole file and only then replaces the old one; where the folder
// takes no new file but the file may be written, it is written in place.
// False when nothing was written.
bool writeSettingsFile(const QString &path, const Settings &settings);

} // namespace core
