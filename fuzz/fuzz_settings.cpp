// The settings file beside the program: the XML form, and the older line
// form it falls back to. The readers take a path, so each input goes through
// a real file, as in the program.
#include "FuzzCheck.h"
#include "core/SettingsFile.h"

#include <QByteArray>
#include <QFile>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

QString g_path;

void writeFile(const QByteArray &bytes)
{
    QFile f(g_path);
    FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate), "scratch file cannot be written");
    FUZZ_CHECK(f.write(bytes) == bytes.size(), "scratch file write failed");
}

// What an XML 1.0 document can carry at all; the writer leaves out the rest.
QString xmlCarried(const QString &v)
{
    QString out;
    for (qsizetype i = 0; i < v.size(); ++i) {
        const char16_t u = v.at(i).unicode();
        if (v.at(i).isHighSurrogate() && i + 1 < v.size() && v.at(i + 1).isLowSurrogate()) {
            out.append(v.at(i));
            out.append(v.at(++i));
        } else if (u == 0x9 || u == 0xA || u == 0xD || (u >= 0x20 && u <= 0xD7FF) || (u >= 0xE000 && u <= 0xFFFD)) {
            out.append(v.at(i));
        }
    }
    return out;
}

core::Settings unread()
{
    core::Settings v;
    for (const QString &key : core::Settings::keys())
        v.setValue(key, QStringLiteral("<unread %1>").arg(key));
    return v;
}

// One value per line of the line form: what it cannot carry is taken out
// (delimiters, quotes, blanks at either end, a leading byte-order mark).
QString lineFormValue(QString v)
{
    v.remove(QLatin1Char(',')).remove(QLatin1Char('"')).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    while (v.startsWith(QChar(0xFEFF)) || v.startsWith(QLatin1Char(' ')) || v.startsWith(QLatin1Char('\t')))
        v.remove(0, 1);
    while (v.endsWith(QLatin1Char(' ')) || v.endsWith(QLatin1Char('\t')))
        v.chop(1);
    return v;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Memory-backed where there is one: three files per input on a disk
    // would make this the slowest target by far.
    char shm[] = "/dev/shm/tavo-fuzz-settings-XXXXXX";
    char tmp[] = "/tmp/tavo-fuzz-settings-XXXXXX";
    char *name = shm;
    int fd = mkstemp(shm);
    if (fd < 0) {
        name = tmp;
        fd = mkstemp(tmp);
    }
    if (fd < 0)
        std::abort();
    close(fd);
    g_path = QString::fromLocal8Bit(name);
    static const QByteArray keep = QFile::encodeName(g_path);
    std::atexit([] { ::unlink(keep.constData()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    // The file as found: whatever it holds, the nine keys stay nine.
    writeFile(bytes);
    core::Settings loaded;
    int busy = 0;
    core::readSettingsFile(g_path, loaded, [&busy](bool on) { busy += on ? 1 : -1; });
    FUZZ_CHECK(busy == 0, "the busy pointer was left on");

    core::Settings legacy;
    core::readLegacySettings(g_path, legacy);
    FUZZ_CHECK(legacy.value(core::kCompiler) == core::Settings::defaultValue(core::kCompiler)
                   && legacy.value(core::kClassDirectory) == core::Settings::defaultValue(core::kClassDirectory),
               "the line form has no Compiler and no ClassDirectory");

    // What OK would save from those values reads back as they are, every
    // key from the file.
    const QByteArray document = core::settingsDocument(loaded);
    FUZZ_CHECK(!document.isEmpty(), "the writer gave up on values it was given");
    writeFile(document);
    core::Settings back = unread();
    core::readSettingsFile(g_path, back);
    for (const QString &key : core::Settings::keys())
        FUZZ_CHECK(back.value(key) == xmlCarried(loaded.value(key)), "a saved value reads back differently");

    // Seven values written one per line read back in the line form's order.
    const QStringList parts = QString::fromUtf8(bytes).split(QChar(0));
    if (parts.size() >= 7) {
        static const QStringList order = {core::kJREpath, core::kLibpath, core::kDtPackages,
                                          core::kJavapath, core::kOrganization, core::kAuthor,
                                          core::kCP};
        QByteArray lines;
        QStringList expected;
        for (int i = 0; i < 7; ++i) {
            expected << lineFormValue(parts[i]);
            lines += expected.last().toUtf8() + "\r\n";
        }
        writeFile(lines);
        core::Settings lineRead = unread();
        core::readLegacySettings(g_path, lineRead);
        for (int i = 0; i < 7; ++i)
            FUZZ_CHECK(lineRead.value(order[i]) == expected[i], "a line-form value reads back differently");
    }
    return 0;
}
