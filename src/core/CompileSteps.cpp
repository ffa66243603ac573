#include "core/CompileSteps.h"
#include "core/CommandLines.h"
#include "platform/FileSystem.h"

namespace core {

CompileStart prepareCompile(const Kit &kit, const Settings &settings, const Workspace &workspace)
{
    CompileStart start;
    start.line = BuildCompileCommand(settings, workspace);
    // The kit folder itself by name, where the class directory is made and
    // the compiler runs: going to ".." from the library root would leave the
    // compiler outside the kit when that root is missing (or is a link to
    // elsewhere).
    platform::changeDirectory(kit.appPath());
    const QString classDirectory = settings.value(kClassDirectory);
    // One level only; an existing or unreachable folder is the compiler's
    // business, not ours.
    if (!classDirectory.isEmpty() && platform::makeDirectory(classDirectory))
        start.madeClassDirectory = classDirectory;
    return start;
}

} // namespace core
