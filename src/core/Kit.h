#pragma once
#include <QString>

namespace core {

// The folder of the running program file, without a trailing separator.
QString AppPath();

// The kit around the program: the one place that knows where its folders
// and files lie below AppPath. Paths keep backslashes between levels, as
// the stored files and command lines do.
class Kit
{
public:
    explicit Kit(const QString &appPath);

    const QString &appPath() const { return m_appPath; }
    // The source root, below which every package is a folder.
    QString SrcDir() const;
    // The library root.
    QString LibDir() const;
    // The runtime tree below the library root that holds a package's classes.
    QString runtimeDir() const;
    // The settings file: "TAVO_Starter.ini" beside the program.
    QString settingsFile() const;
    // The workspace file: "TAVO_Starter.dat" beside the program.
    QString workspaceFile() const;
    // Where Compile's output goes: "compile.log" beside the program.
    QString compileLog() const;
    // The editor's help page.
    QString helpPage() const;

    // A package's folders in the two trees; the name is joined as given.
    QString sourceFolder(const QString &package) const;
    QString runtimeFolder(const QString &package) const;

private:
    QString m_appPath;
};

} // namespace core
