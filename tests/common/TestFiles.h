#pragma once
// Small file helpers shared by the tests.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

// Where a test's kit tree goes: memory where the system offers it, since
// removing tens of thousands of directories from a disk can take minutes.
inline QString scratchDirTemplate()
{
    const QString shm = QStringLiteral("/dev/shm");
    const QString base = QFileInfo(shm).isDir() && QFileInfo(shm).isWritable() ? shm : QDir::tempPath();
    return base + QStringLiteral("/tavo-test-XXXXXX");
}

// The lines of a UTF-8 text file ended by LF; none when it cannot be read.
inline QStringList readLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

#ifndef Q_OS_WIN
#include <climits>

// A folder that is there but cannot be listed by anyone, root included: the
// innermost of a chain of folders made inside `parent`, whose full path is
// longer than the system takes while its parent's is not. Its parent's
// listing shows it; listing it fails. Taken away again on destruction, which
// QDir cannot do past that length.
struct UnlistableFolder {
    // The folder names from `parent` down to the unlistable folder.
    QStringList levels;

    explicit UnlistableFolder(const QString &parent) : m_parent(parent)
    {
        QString path = parent;
        while (QFile::encodeName(path).size() + 101 <= PATH_MAX - 300) {
            levels << QString(100, QLatin1Char('d'));
            path += QLatin1Char('/') + levels.last();
            QDir().mkdir(path);
        }
        // A filler brings the parent to a known length; the last name, made
        // from inside it, takes the whole path past the limit.
        levels << QString(PATH_MAX - 200 - QFile::encodeName(path).size() - 1, QLatin1Char('f'));
        path += QLatin1Char('/') + levels.last();
        QDir().mkdir(path);
        m_deepest = path;
        levels << QString(250, QLatin1Char('x'));
        const QString saved = QDir::currentPath();
        QDir::setCurrent(m_deepest);
        QDir().mkdir(levels.last());
        QDir::setCurrent(saved);
    }
    ~UnlistableFolder()
    {
        const QString saved = QDir::currentPath();
        if (QDir::setCurrent(m_deepest))
            QDir().rmdir(levels.last());
        QDir::setCurrent(saved);
        QDir(m_parent + QLatin1Char('/') + levels.first()).removeRecursively();
    }
    // Its entry below the folder that `prefix` names (an entry and "\", or
    // empty for `parent` itself).
    QString entry(const QString &prefix = QString()) const { return prefix + levels.join(QLatin1Char('\\')); }

private:
    QString m_parent;
    QString m_deepest;
};
#endif
