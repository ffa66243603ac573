#pragma once
#include <QString>

namespace platform {

// Each returns false when the system refuses; callers decide whether that
// matters. Paths may use backslashes between levels.
bool changeDirectory(const QString &path);
QString currentDirectory();
// Creates one directory level; an existing directory counts as a failure.
bool makeDirectory(const QString &path);
// The same, saying why the system refused.
enum class MadeDirectory { Made, Exists, ParentMissing, NameTooLong, Refused };
MadeDirectory makeDirectoryLevel(const QString &path);
// Writes a file whole and then puts it in place, so a failed write (a full
// disk) leaves the previous file byte for byte. With inPlaceFallback an
// existing file that may be written, in a folder that refuses a new file for
// lack of permission, is written over in place instead, but only once the
// disk has given it room for the new length. False when nothing was written:
// the file is as it was.
bool writeFileWhole(const QString &path, const QByteArray &bytes, bool inPlaceFallback = false);

// The parts of that write each system does its own way.
// True when the folder refuses a new file for lack of permission (access
// denied, a read-only file system), not for lack of room or for any other
// reason.
bool refusesNewFileForPermission(const QString &nativeDir);
// Writes bytes over an existing plain file and cuts it to their length,
// after making room on disk for that length (the file extended first, its
// blocks taken). False
// when that room cannot be had or the file cannot be written; the file is
// then as it was.
bool overwriteInPlace(const QString &nativeFile, const QByteArray &bytes);

} // namespace platform
