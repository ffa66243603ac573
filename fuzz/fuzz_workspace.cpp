// The workspace file as the main window reads it at start and writes it at
// exit.
#include "FuzzCheck.h"
#include "core/WorkspaceFile.h"

#include <QByteArray>

#include <cstdint>

namespace {

void checkLines(const core::WorkspaceContent &c)
{
    if (c.entries) {
        for (const QString &entry : *c.entries) {
            FUZZ_CHECK(!entry.isEmpty(), "an empty line ends the entries, it is never one");
            FUZZ_CHECK(!holdsLineBreak(entry), "an entry holds a line break");
        }
    } else {
        FUZZ_CHECK(c.selectedText.isEmpty() && !c.EditFileName,
                   "nothing may be taken from a file that ends before the selected line");
    }
    FUZZ_CHECK(!holdsLineBreak(c.selectedText), "the selected text holds a line break");
    if (c.EditFileName)
        FUZZ_CHECK(!holdsLineBreak(*c.EditFileName), "EditFileName holds a line break");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const core::WorkspaceContent read = core::parseWorkspace(bytes);
    checkLines(read);
    if (!read.entries)
        return 0;

    // What the program would save after loading this file must load back to
    // the same list, selection and EditFileName, and save to the same bytes.
    const QStringList &entries = *read.entries;
    const int selected = int(entries.indexOf(read.selectedText));
    const QString editFileName = read.EditFileName.value_or(QString());
    const QByteArray saved = core::serializeWorkspace({entries, selected, editFileName});
    const core::WorkspaceContent again = core::parseWorkspace(saved);
    checkLines(again);
    FUZZ_CHECK(again.entries && *again.entries == entries, "saved entries read back differently");
    FUZZ_CHECK(again.selectedText == (selected >= 0 ? entries[selected] : QString()),
               "saved selection reads back differently");
    FUZZ_CHECK(again.EditFileName && *again.EditFileName == editFileName,
               "saved EditFileName reads back differently");
    FUZZ_CHECK(core::serializeWorkspace({*again.entries, int(again.entries->indexOf(again.selectedText)),
                                         *again.EditFileName}) == saved,
               "a second save differs from the first");
    return 0;
}
