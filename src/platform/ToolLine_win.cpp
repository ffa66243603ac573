#include "platform/ToolLine.h"
#include "platform/CommandLine.h"

namespace platform {

// The system is given one line, the kit's own text of the started words; the
// tool's start-up code splits it (and the Java launcher expands its source
// patterns) itself.
SystemCommand systemCommand(const ToolLine &line, const QString &)
{
    ToolLine started;
    for (const ToolWord &word : line) {
        if (word.kind != ToolWord::Kind::Interpreter)
            started << word;
    }
    return plainCommand(joinedLine(started));
}

SystemCommand plainCommand(const QString &line)
{
    SystemCommand command;
    const QStringList words = splitWindowsCommandLine(line);
    if (words.isEmpty() || words.first().isEmpty())
        return command;
    command.program = words.first();
    command.arguments = words.mid(1);
    command.line = line;
    return command;
}

} // namespace platform
