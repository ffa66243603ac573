#pragma once
// The Java installations a machine has, found where each system keeps them:
// JAVA_HOME and PATH everywhere; on Windows the vendors' registry keys (in
// the 64-bit and the 32-bit view) and their folders under Program Files;
// elsewhere the folders below /usr/lib/jvm. Read only; nothing is started.
#include <QList>
#include <QString>

namespace platform {

struct JavaInstallation {
    enum class Origin { JavaHome, Path, SystemFolder, Registry, ProgramFiles };
    Origin origin = Origin::SystemFolder;
    // The installation's folder (JAVA_HOME's, one below /usr/lib/jvm or a
    // vendor's folder, the one a registry key names); for PATH the folder on
    // it that holds the programs.
    QString folder;
    // The registry key that names it, as the registry editor shows it
    // ("HKLM\SOFTWARE\WOW6432Node\JavaSoft\JDK\17" in the 32-bit view);
    // empty for the other origins.
    QString key;
    // Its runtime and its compiler in the system's form, each empty where it
    // has none; one of them at least is there.
    QString java;
    QString javac;
};

// Every installation found, in that order (JAVA_HOME, PATH, then the
// system's own places in name order), each once: one whose programs are the
// same files as those of one found before is left out, so /usr/bin/java
// stands for the installation it leads to.
QList<JavaInstallation> findJavaInstallations();

// The common part of every system's search: adds the installation whose
// programs lie in binFolder, when it has any and no installation found
// before has the same ones.
void addJavaInstallation(QList<JavaInstallation> &found, JavaInstallation::Origin origin, const QString &folder,
                         const QString &binFolder, const QString &key = QString());
// A program of that name in the folder, as this system starts it; empty
// when there is none that can be started.
QString javaProgramIn(const QString &folder, const QString &name);

} // namespace platform
