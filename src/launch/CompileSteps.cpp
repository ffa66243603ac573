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
    // The kit folder itself by name, where the class directory is made and
    // the compiler runs: going to ".." from the library root would leave the
    // compiler outside the kit when that root is missing (or is a link to
    // elsewhere).
    platform::changeDirectory(appPath);
    const QString classDirectory = settings.value(settings::kClassDirectory);
    // One level only; an existing or unreachable folder is the compiler's
    // business, not ours.
    if (!classDirectory.isEmpty() && platform::makeDirectory(classDirectory))
        start.madeClassDirectory = classDirectory;
    return start;
}

} // namespace launch
