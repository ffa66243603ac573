#pragma once
// Small file helpers shared by the tests.
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

// Where a test's kit tree goes: memory where the system offers it, since
// removing tens of thousands of directories from a disk can take minutes.
inline QString scratchDirTemplate()
{
#ifdef Q_OS_WIN
    // Only the system's own folders carry Windows file attributes.
    return QDir::tempPath() + QStringLiteral("/tavo-test-XXXXXX");
#endif
    const QString shm = QStringLiteral("/dev/shm");
    const QString base = QFileInfo(shm).isDir() && QFileInfo(shm).isWritable() ? shm : QDir::tempPath();
    return base + QStringLiteral("/tavo-test-XXXXXX");
}

// The lines of a UTF-8 text file ended by LF or CR LF (as a Windows program
// writes its output); none when it cannot be read.
inline QStringList readLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(f.readAll()).split(QRegularExpression(QStringLiteral("\r?\n")));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// A program the tests build beside themselves, such as tavo_stand_in.
inline QString testProgram(const QString &name)
{
#ifdef Q_OS_WIN
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + name + QStringLiteral(".exe");
#else
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
#endif
}

// The stand-in tool's file for a command line that names it so: Windows adds
// ".exe" to a program name without an extension.
inline QString standInFile(const QString &pathWithoutExtension)
{
#ifdef Q_OS_WIN
    return pathWithoutExtension + QStringLiteral(".exe");
#else
    return pathWithoutExtension;
#endif
}

// Puts a copy of the stand-in tool where a command line names it; false when
// it could not.
inline bool installStandIn(const QString &pathWithoutExtension)
{
    const QString path = standInFile(pathWithoutExtension);
    QFile::remove(path);
    return QFile::copy(testProgram(QStringLiteral("tavo_stand_in")), path);
}

// What a stand-in tool at pathWithoutExtension wrote down: its working
// directory (canonical, in Qt's form) and then its arguments; empty until
// it has written.
inline QStringList readStandInRecord(const QString &pathWithoutExtension)
{
    QStringList lines = readLines(pathWithoutExtension + QStringLiteral(".rec"));
    if (!lines.isEmpty())
        lines[0] = QFileInfo(QDir::fromNativeSeparators(lines[0])).canonicalFilePath();
    return lines;
}

// A path word and a class path of the kit's lines as a started tool receives
// them on this system: as written on Windows, whose tools read them so;
// elsewhere with "/" between levels and ":" between the pieces.
inline QString systemPathWord(QString kitPath)
{
#ifndef Q_OS_WIN
    kitPath.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
    return kitPath;
}

inline QString systemClassPath(QString kitClassPath)
{
#ifndef Q_OS_WIN
    kitClassPath.replace(QLatin1Char(';'), QLatin1Char(':'));
#endif
    return systemPathWord(kitClassPath);
}

// A program of the real JDK or ecj, which scripts/test installs, from PATH;
// empty when it is not there.
inline QString realTool(const QString &name)
{
    return QStandardPaths::findExecutable(name);
}

// Java sources for the real compilers below a folder: the package "good"
// (two classes that compile) and "bad" (one class whose line 4 names a
// variable that is nowhere).
inline bool writeJavaPackages(const QString &folder)
{
    const QList<QPair<QString, QByteArray>> files{
        {"good/Good.java", "package fb.rt.good;\n\npublic class Good {\n    int value() { return Other.ONE; }\n}\n"},
        {"good/Other.java", "package fb.rt.good;\n\nclass Other {\n    static final int ONE = 1;\n}\n"},
        {"bad/Broken.java", "package fb.rt.bad;\n\npublic class Broken {\n    int value() { return missing; }\n}\n"}};
    for (const auto &[name, text] : files) {
        QFile f(QDir(folder).filePath(name));
        if (!QDir().mkpath(QFileInfo(f).absolutePath()) || !f.open(QIODevice::WriteOnly) || f.write(text) != text.size())
            return false;
    }
    return true;
}

// Names in a folder and below that a tool would have taken for options:
// javac given jikes's -Xstdout writes its messages into "-classpath".
inline QStringList filesNamedLikeOptions(const QString &folder)
{
    QStringList found;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        if (it.fileName().startsWith(QLatin1Char('-')))
            found << it.filePath();
    }
    return found;
}
