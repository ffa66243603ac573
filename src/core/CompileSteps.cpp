#include "core/CompileSteps.h"
#include "core/CommandLines.h"
#include "platform/FileSystem.h"

namespace core {

CompileStart prepareCompile(const Kit &kit, const Settings &settings, const Workspace &workspace)
{
    CompileStart start;
    start.line = BuildCompileCommand(settings, workspace);
    start.started = compileStartWords(settings, workspace);
    // The kit folder itself by name, where the class directory is made and
    // the compiler runs: going to ".." from the library root would leave the
    // compiler outside the kit when that root is missing (or is a link to
    // elsewhere).
    platform::changeDirectory(kit.appPath());
    // The folder the compiler is given after "-d": a value quoted for its
    // blanks names it without the quotes. One level only; an existing or
    // unreachable folder is the compiler's business, not ours.
    const QString classDirectory = valueAsRead(settings.value(kClassDirectory));
    if (!classDirectory.isEmpty() && platform::makeDirectory(classDirectory))
        start.madeClassDirectory = classDirectory;
    return start;
}

} // namespace core
