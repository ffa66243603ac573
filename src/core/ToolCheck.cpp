#include "core/ToolCheck.h"
#include "core/CommandLines.h"
#include "core/StringTable.h"
#include "platform/CommandLine.h"
#include "platform/NativePath.h"
#include "platform/Process.h"
#include "platform/ToolLine.h"

#include <QDir>
#include <QFileInfo>

namespace core {
namespace {

using Origin = platform::JavaInstallation::Origin;

int kindSentence(CompilerKind kind)
{
    switch (kind) {
    case CompilerKind::Javac:
        return msg::kCheckKindJavac;
    case CompilerKind::Ecj:
        return msg::kCheckKindEcj;
    case CompilerKind::Jikes:
        return msg::kCheckKindJikes;
    case CompilerKind::Unknown:
        break;
    }
    return msg::kCheckKindUnknown;
}

QString programsOf(const platform::JavaInstallation &installation)
{
    QStringList names;
    if (!installation.java.isEmpty())
        names << QStringLiteral("java");
    if (!installation.javac.isEmpty())
        names << QStringLiteral("javac");
    return names.join(QStringLiteral(", "));
}

QString installationSentence(const platform::JavaInstallation &installation)
{
    const QString programs = programsOf(installation);
    switch (installation.origin) {
    case Origin::JavaHome:
        return message(msg::kCheckJavaHome).arg(programs);
    case Origin::Path:
        return message(msg::kCheckJavaPath).arg(programs);
    case Origin::SystemFolder:
        return message(msg::kCheckJavaSystemFolder).arg(programs);
    case Origin::Registry:
        return message(msg::kCheckJavaRegistry).arg(programs, installation.key);
    case Origin::ProgramFiles:
        return message(msg::kCheckJavaProgramFiles).arg(programs);
    }
    return QString();
}

// Where a mend's installation was found, as the user knows the place.
QString placeOf(const platform::JavaInstallation &installation)
{
    switch (installation.origin) {
    case Origin::JavaHome:
        return QStringLiteral("JAVA_HOME");
    case Origin::Path:
        return QStringLiteral("PATH");
    case Origin::SystemFolder:
        return QDir::toNativeSeparators(QFileInfo(installation.folder).path());
    case Origin::Registry:
        return installation.key;
    case Origin::ProgramFiles:
        return QStringLiteral("Program Files");
    }
    return QString();
}

// The programs' folders, as Compile and Open Editor start them.
struct Program {
    QString key;
    QString folder;
    bool compiler;
};
QList<Program> programs(const Kit &kit)
{
    return {{kCompiler, kit.appPath(), true}, {kJREpath, kit.SrcDir(), false}};
}

bool startable(const Settings &settings, const Program &program)
{
    return programStarts(settings.value(program.key), program.folder);
}

// The finding a mend goes with: the first of its setting whose path is the
// one given, else the first of its setting that is not fine, else its first.
KitFinding *rowFor(QList<KitFinding> &findings, const QString &setting, const QString &path = QString())
{
    KitFinding *first = nullptr;
    KitFinding *notFine = nullptr;
    for (KitFinding &f : findings) {
        if (f.setting != setting)
            continue;
        if (!path.isNull() && f.path == path)
            return &f;
        if (!first)
            first = &f;
        if (!notFine && f.verdict != Verdict::Fine)
            notFine = &f;
    }
    return notFine ? notFine : first;
}

void attach(QList<KitFinding> &findings, const KitMend &mend, const QString &path = QString())
{
    if (KitFinding *row = rowFor(findings, mend.setting, path))
        row->mends << mend;
}

// A folder that is not there, below a nearest folder that is.
bool makeable(const QString &path)
{
    if (path.isEmpty() || QFileInfo::exists(path))
        return false;
    for (QString up = QFileInfo(path).path();;) {
        const QFileInfo above(up);
        if (above.exists())
            return above.isDir();
        if (above.path() == up)
            return false;
        up = above.path();
    }
}

} // namespace

QList<KitFinding> toolFindings(const Kit &kit, const Settings &settings, const Workspace &workspace,
                               const QList<platform::JavaInstallation> &java)
{
    QList<KitFinding> findings;
    const platform::SystemCommand started =
        platform::systemCommand(compileStartWords(settings, workspace), kit.appPath());
    findings.append({Verdict::Fine, kCompiler, started.line,
                     message(kindSentence(compilerKind(settings.value(kCompiler))))});
    for (const platform::JavaInstallation &installation : java)
        findings.append({Verdict::Fine, kCheckJava, installation.folder, installationSentence(installation)});
    if (java.isEmpty()) {
        bool toolMissing = false;
        for (const Program &program : programs(kit))
            toolMissing = toolMissing || !startable(settings, program);
        findings.append({toolMissing ? Verdict::Warning : Verdict::Fine, kCheckJava, QString(),
                         message(msg::kCheckJavaNone)});
    }
    return findings;
}

void attachMends(QList<KitFinding> &findings, const Kit &kit, const Settings &settings,
                 const QList<platform::JavaInstallation> &java)
{
    for (const Program &program : programs(kit)) {
        if (startable(settings, program))
            continue;
        for (const platform::JavaInstallation &installation : java) {
            const QString file = program.compiler ? installation.javac : installation.java;
            const QString value = quotedValue(file);
            if (!value.isEmpty())
                attach(findings, {KitMend::Action::FillSetting, program.key, value,
                                  message(msg::kMendUse).arg(value, placeOf(installation))});
        }
    }

    for (const QString &key : kLineSettings) {
        const QString value = settings.value(key);
        QString quoted = quotedValue(value);
        if (quoted.isEmpty() || quoted == value)
            continue;
        // A program's value may hold its own options after a blank: quotes
        // mend it only where the whole of it names the program.
        for (const Program &program : programs(kit)) {
            if (program.key == key && !platform::findProgram(quoted, program.folder).startable)
                quoted.clear();
        }
        if (!quoted.isEmpty())
            attach(findings, {KitMend::Action::FillSetting, key, quoted, message(msg::kMendQuote).arg(quoted)}, value);
    }

    if (!settings.value(kClassDirectory).isEmpty()) {
        KitFinding *row = rowFor(findings, kClassDirectory);
        if (row && makeable(platform::nativePath(row->path)))
            row->mends << KitMend{KitMend::Action::MakeFolder, kClassDirectory, row->path,
                                  message(msg::kMendMake).arg(row->path)};
    }
}

QString quotedValue(const QString &value)
{
    if (value.contains(QLatin1Char('"')))
        return QString();
    if (!value.contains(QLatin1Char(' ')) && !value.contains(QLatin1Char('\t')))
        return value;
    int end = int(value.size());
    while (end > 0 && value[end - 1] == QLatin1Char('\\'))
        --end;
    return QLatin1Char('"') + value.left(end) + QLatin1Char('"') + value.mid(end);
}

bool makeMendFolder(const KitMend &mend)
{
    return mend.action == KitMend::Action::MakeFolder && QDir().mkpath(platform::nativePath(mend.value))
        && QFileInfo(platform::nativePath(mend.value)).isDir();
}

} // namespace core
