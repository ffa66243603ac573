// The reading of a compiler's output: whatever bytes come, in whatever
// pieces, the same lines and marks; every message counted once, and every
// marked line that is kept has its message.
#include "FuzzCheck.h"
#include "core/CompilerOutput.h"

#include <QByteArray>

#include <cstdint>

namespace {

struct Read {
    QList<core::OutputLine> lines;
    int errors = 0;
    int warnings = 0;
};

// The output as the window reads it: cut where `cuts` says, few lines kept.
Read readAll(const QByteArray &bytes, const uint8_t *cuts, size_t cutCount)
{
    core::CompileOutput output(3);
    Read read;
    qsizetype at = 0;
    for (size_t i = 0; at < bytes.size(); ++i) {
        const qsizetype piece = cutCount ? 1 + cuts[i % cutCount] % 17 : bytes.size();
        read.lines += output.take(bytes.mid(at, piece));
        at += piece;
    }
    read.lines += output.finish();
    read.errors = output.errors();
    read.warnings = output.warnings();
    FUZZ_CHECK(output.messageCount() == output.errors() + output.warnings(), "a message not counted once");
    for (const core::OutputLine &line : read.lines) {
        FUZZ_CHECK((line.severity == core::Severity::None) == (line.message < 0), "a mark without its message");
        FUZZ_CHECK(line.message < output.messageCount(), "a line marks a message never read");
    }
    // The messages of the last lines are kept.
    for (qsizetype i = std::max<qsizetype>(0, read.lines.size() - 3); i < read.lines.size(); ++i) {
        if (read.lines[i].message >= 0)
            FUZZ_CHECK(output.message(read.lines[i].message), "a kept line's message has gone");
    }
    return read;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The first bytes say where to cut, the rest is the output.
    const size_t cutCount = size ? std::min<size_t>(data[0] % 8, size - 1) : 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 1 + cutCount, qsizetype(size ? size - 1 - cutCount : 0));
    const Read whole = readAll(bytes, nullptr, 0);
    const Read cut = readAll(bytes, data + 1, cutCount);
    FUZZ_CHECK(whole.errors == cut.errors && whole.warnings == cut.warnings, "counts depend on the pieces");
    FUZZ_CHECK(whole.lines.size() == cut.lines.size(), "lines depend on the pieces");
    for (qsizetype i = 0; i < whole.lines.size(); ++i) {
        FUZZ_CHECK(whole.lines[i].text == cut.lines[i].text && whole.lines[i].severity == cut.lines[i].severity,
                   "a line depends on the pieces");
    }
    return 0;
}
