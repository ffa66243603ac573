#include "launch/CompileSteps.h"
#include "launch/CommandLines.h"
#include "platform/FileSystem.h"
#include "settings/SettingsAccess.h"

namespace launch {

CompileStart prepareCompile(const QString &appPath, SettingsAccess &settings,
                            const QStringList &entries, int selected)
{
    CompileStart start;
    start.line = BuildCompileCommand(settings, entries, selected);
    // The settings' relative paths, the class directory's included, are
    // meant from the kit folder.
    platform::changeDirectory(appPath);
    const QString classDirectory = settings.value(settings::kClassDirectory);
    if (!classDirectory.isEmpty() && platform::makeDirectory(classDirectory))
        start.madeClassDirectory = classDirectory;
    return start;
}

} // namespace launch
