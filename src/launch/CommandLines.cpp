#include "launch/CommandLines.h"
#include "settings/SettingsAccess.h"

namespace launch {
namespace {

const QLatin1String kBatchTail(" %1 > .\\compile.log");

} // namespace

QString selectedEntry(const QStringList &entries, int selected)
{
    return selected >= 0 && selected < entries.size() ? entries[selected] : QString();
}

QString BuildCompileCommand(SettingsAccess &settings, const QStringList &entries, int selected)
{
    QString line = settings.value(settings::kCompiler);
    line += QLatin1Char(' ');
    line += QLatin1String("-Xstdout -classpath");
    line += QLatin1Char(' ');
    line += settings.value(settings::kCP);
    line += QLatin1Char(' ');
    line += settings.value(settings::kJavapath);
    line += selectedEntry(entries, selected);
    line += QLatin1String("\\*.java");
    const QString classDirectory = settings.value(settings::kClassDirectory);
    if (!classDirectory.isEmpty())
        line += QLatin1String(" -d ") + classDirectory;
    line += kBatchTail;
    return line;
}

QString withoutBatchTail(const QString &compileLine)
{
    return compileLine.endsWith(kBatchTail) ? compileLine.chopped(kBatchTail.size()) : compileLine;
}

QString PackageWord(const QStringList &entries, int selected)
{
    QString word = selectedEntry(entries, selected) + QLatin1Char(';');
    for (int i = 0; i < entries.size(); ++i) {
        if (i == selected)
            continue;
        QString entry = entries[i];
        entry.replace(QLatin1Char('\\'), QLatin1Char('.'));
        word += entry + QLatin1Char(';');
    }
    return word;
}

QString BuildEditorCommand(SettingsAccess &settings, const QStringList &entries, int selected,
                           const QString &fileName)
{
    const int dot = fileName.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return QString();
    QString line = settings.value(settings::kJREpath);
    line += QLatin1String(" -cp ");
    line += settings.value(settings::kLibpath);
    line += QLatin1String(" Editor ");
    line += fileName.left(dot);
    line += QLatin1Char(' ');
    line += PackageWord(entries, selected);
    line += QLatin1Char(' ');
    line += settings.value(settings::kDtPackages);
    return line;
}

} // namespace launch
