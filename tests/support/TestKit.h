#pragma once
// A kit of a test's own: the program's folder in a temporary place (memory
// where the system offers it), with its files and the source tree below it.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class TestKit
{
public:
    TestKit();

    // The kit folder, AppPath, in Qt's form.
    QString path() const { return m_dir.path(); }
    // A file or folder below it, by a path relative to it with "/".
    QString at(const QString &relative) const { return m_dir.filePath(relative); }
    QString dat() const { return at(QStringLiteral("TAVO_Starter.dat")); }
    QString ini() const { return at(QStringLiteral("TAVO_Starter.ini")); }
    // The folder of a workspace entry ("mypkg\util") below the source root.
    QString sourceFolder(const QString &entry) const;

    // Makes the source root and each entry's folder; false when one failed.
    bool makeSourceFolders(const QStringList &entries = {}) const;
    // Writes a file below the kit folder whole; false when it could not.
    bool write(const QString &relative, const QByteArray &bytes) const;
    // A file's bytes, or "<missing>" when it cannot be read.
    QByteArray read(const QString &relative) const;

    // The program's own files in the kit folder, temporary ones included.
    QStringList programFiles() const;

private:
    QTemporaryDir m_dir;
};
