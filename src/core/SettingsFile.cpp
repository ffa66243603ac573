#include "core/SettingsFile.h"
#include "core/StringTable.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/NativePath.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <optional>

namespace core {
namespace {

struct Group
{
    QString element;
    QStringList keys; // in the order they are written
};

const QList<Group> &groups()
{
    static const QList<Group> g = {
        {QStringLiteral("Editor"), {kJREpath, kLibpath, kDtPackages, kJavapath}},
        {QStringLiteral("Compiler"), {kCP, kCompiler, kClassDirectory}},
        {QStringLiteral("Properties"), {kOrganization, kAuthor}},
    };
    return g;
}

// XML 1.0 cannot carry every character, not even as a reference. Leaving
// such a character in would make the writer drop the whole value, so only
// the character itself is dropped.
QString xmlSafe(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c.isHighSurrogate() && i + 1 < value.size() && value.at(i + 1).isLowSurrogate()) {
            out.append(c);
            out.append(value.at(++i));
            continue;
        }
        const char16_t u = c.unicode();
        const bool allowed = u == 0x9 || u == 0xA || u == 0xD || (u >= 0x20 && u <= 0xD7FF)
            || (u >= 0xE000 && u <= 0xFFFD);
        if (allowed)
            out.append(c);
    }
    return out;
}

// Reads the whole document; the first element of each group name, at any
// depth, gives its attributes. How many values it took, or nothing for a
// document that turns out not to be well-formed, which gives none.
std::optional<int> readXml(QXmlStreamReader &reader, Settings &settings)
{
    QHash<QString, QXmlStreamAttributes> first;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString name = reader.qualifiedName().toString();
        if (!first.contains(name))
            first.insert(name, reader.attributes());
    }
    if (reader.hasError())
        return std::nullopt;

    int taken = 0;
    for (const Group &group : groups()) {
        const auto found = first.constFind(group.element);
        if (found == first.constEnd())
            continue;
        for (const QString &key : group.keys) {
            for (const QXmlStreamAttribute &attribute : *found) {
                if (attribute.qualifiedName() == key) {
                    settings.setValue(key, attribute.value().toString());
                    ++taken;
                    break;
                }
            }
        }
    }
    return taken;
}

// One field after another of the comma-delimited line form.
class LineFormReader
{
public:
    explicit LineFormReader(const QString &text) : m_text(text) {}

    // The next field, or nothing when the file has ended.
    std::optional<QString> next()
    {
        QChar c;
        do {
            if (!get(c))
                return std::nullopt;
        } while (c == u' ' || c == u'\t');

        QString field;
        if (c == u'"') {
            while (get(c) && c != u'"')
                field.append(c);
            // Whatever follows the closing quote up to the delimiter is not
            // part of the value.
            while (get(c) && !isDelimiter(c)) {
            }
        } else {
            while (!isDelimiter(c)) {
                field.append(c);
                if (!get(c))
                    break;
            }
            while (field.endsWith(u' ') || field.endsWith(u'\t'))
                field.chop(1);
        }
        // CR LF ends a line as one delimiter.
        if (c == u'\r' && m_pos < m_text.size() && m_text.at(m_pos) == u'\n')
            ++m_pos;
        return field;
    }

private:
    static bool isDelimiter(QChar c) { return c == u',' || c == u'\r' || c == u'\n'; }
    bool get(QChar &c)
    {
        if (m_pos < m_text.size()) {
            c = m_text.at(m_pos++);
            return true;
        }
        c = QChar();
        return false;
    }

    const QString &m_text;
    qsizetype m_pos = 0;
};

// What the first bytes of a file say of its encoding: a byte-order mark
// (UTF-8, UTF-16 LE or BE), or UTF-16 without one (a "<" beside a zero
// byte, as XML begins). Nothing for bytes of an 8-bit code page or UTF-8
// without a mark.
struct Unicode {
    QStringConverter::Encoding encoding;
    qsizetype markLength;
};
std::optional<Unicode> unicodeForm(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return Unicode{QStringConverter::Utf8, 3};
    if (bytes.startsWith("\xFF\xFE"))
        return Unicode{QStringConverter::Utf16LE, 2};
    if (bytes.startsWith("\xFE\xFF"))
        return Unicode{QStringConverter::Utf16BE, 2};
    if (bytes.size() >= 2 && bytes[0] == '<' && bytes[1] == '\0')
        return Unicode{QStringConverter::Utf16LE, 0};
    if (bytes.size() >= 2 && bytes[0] == '\0' && bytes[1] == '<')
        return Unicode{QStringConverter::Utf16BE, 0};
    return std::nullopt;
}

// The text of a file in a Unicode form, its mark left off; nothing when its
// bytes are not that encoding (for UTF-16, whose decoder passes them: an odd
// byte at the end, or half of a surrogate pair).
std::optional<QString> unicodeText(const QByteArray &bytes, const Unicode &form)
{
    QStringDecoder decoder(form.encoding, QStringConverter::Flag::Stateless);
    const QByteArrayView body = QByteArrayView(bytes).sliced(form.markLength);
    QString text = decoder.decode(body);
    if (decoder.hasError() || (form.encoding != QStringConverter::Utf8 && body.size() % 2) || !text.isValidUtf16())
        return std::nullopt;
    return text;
}

// The file as text for the line form: a Unicode form as its mark says, any
// other in the system's 8-bit code page, or where that is not a Windows one,
// the Windows code page of the user's language, as the form comes from
// Windows. Nothing when the bytes are not text in it: a stand-in character
// would reach a field, and OK would write it in place of what was there.
std::optional<QString> lineFormText(const QByteArray &bytes)
{
    if (const auto form = unicodeForm(bytes))
        return unicodeText(bytes, *form);
    return platform::fromWindowsText(bytes, currentLanguage() == Language::Japanese ? 932 : 1252);
}

} // namespace

QString IndentNode(qint16 level)
{
    return QStringLiteral("\r\n") + QStringLiteral("   ").repeated(qMax<qint16>(level, 0));
}

QByteArray settingsDocument(const Settings &settings)
{
    QByteArray bytes;
    QXmlStreamWriter writer(&bytes);
    writer.writeStartDocument(); // version="1.0" encoding="UTF-8"
    writer.writeCharacters(QStringLiteral("\r\n"));
    writer.writeComment(QStringLiteral(" TAVO_Starter Settings"));
    writer.writeCharacters(QStringLiteral("\r\n"));
    writer.writeStartElement(QStringLiteral("settings"));
    for (const Group &group : groups()) {
        writer.writeCharacters(IndentNode(1));
        writer.writeEmptyElement(group.element);
        for (const QString &key : group.keys)
            writer.writeAttribute(key, xmlSafe(settings.value(key)));
    }
    writer.writeCharacters(IndentNode(0));
    writer.writeEndElement();
    // Not writeEndDocument: that would add a bare LF after the CR LF.
    writer.writeCharacters(QStringLiteral("\r\n"));
    return writer.hasError() ? QByteArray() : bytes;
}

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// XML begins with "<", after an optional byte-order mark and blanks, in
// whatever encoding; the line form's first value is a path.
bool looksLikeXml(const QByteArray &bytes)
{
    QString start;
    if (const auto form = unicodeForm(bytes)) {
        // Enough for the blanks a hand edit leaves, not the whole file.
        QStringDecoder decoder(form->encoding);
        start = decoder.decode(QByteArrayView(bytes).sliced(form->markLength).first(
            qMin<qsizetype>(bytes.size() - form->markLength, 4096)));
    } else {
        start = QString::fromLatin1(bytes.left(4096));
    }
    qsizetype i = 0;
    while (i < start.size() && isBlank(start.at(i)))
        ++i;
    return i < start.size() && start.at(i) == u'<';
}

// The encoding an XML declaration names ("Shift_JIS" in
// <?xml version="1.0" encoding="Shift_JIS"?>), or empty.
QString declaredEncoding(const QByteArray &bytes)
{
    static const QRegularExpression declaration(
        QStringLiteral("^\\s*<\\?xml\\s[^?>]*?\\bencoding\\s*=\\s*[\"']([A-Za-z][A-Za-z0-9._:-]*)[\"']"));
    const auto match = declaration.match(QString::fromLatin1(bytes.left(512)));
    return match.hasMatch() ? match.captured(1) : QString();
}

bool isUnicodeName(const QString &encoding)
{
    static const QStringList names = {QStringLiteral("utf-8"), QStringLiteral("utf8"), QStringLiteral("utf-16"),
                                      QStringLiteral("utf-16le"), QStringLiteral("utf-16be")};
    return names.contains(encoding.toLower());
}

// Reads an XML file in its encoding: the byte-order mark's, else the one
// its declaration names (a hand edit in a code page), else UTF-8. The XML
// reader knows only the Unicode forms everywhere, so any other is decoded
// by the system first; one it does not know leaves the file unread.
std::optional<int> readXmlFile(const QByteArray &bytes, Settings &settings)
{
    std::optional<QString> text;
    if (const auto form = unicodeForm(bytes)) {
        // The mark decides, whatever the declaration says (an editor that
        // saves UTF-16 keeps encoding="UTF-8" in it).
        if (!(text = unicodeText(bytes, *form)))
            return std::nullopt;
    } else if (const QString declared = declaredEncoding(bytes); !declared.isEmpty() && !isUnicodeName(declared)) {
        if (!(text = platform::fromNamedEncoding(bytes, declared)))
            return std::nullopt;
    }
    if (text) {
        // Given as text, the reader leaves the declaration's encoding alone.
        QXmlStreamReader reader(*text);
        return readXml(reader, settings);
    }
    QXmlStreamReader reader(bytes);
    return readXml(reader, settings);
}

} // namespace

LoadOutcome readSettingsFile(const QString &path, Settings &settings, const BusyHook &busy)
{
    QFile file(platform::nativePath(path));
    if (!file.exists())
        return LoadOutcome::Missing;
    if (!file.open(QIODevice::ReadOnly))
        return LoadOutcome::Unreadable;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return LoadOutcome::Unreadable;
    file.close();
    if (looksLikeXml(bytes)) {
        const std::optional<int> taken = readXmlFile(bytes, settings);
        return !taken ? LoadOutcome::Malformed : *taken > 0 ? LoadOutcome::Xml : LoadOutcome::XmlWithoutValues;
    }
    return readLegacySettings(path, settings, busy) ? LoadOutcome::LineForm : LoadOutcome::Unreadable;
}

bool keptUnread(LoadOutcome outcome)
{
    return outcome == LoadOutcome::Malformed || outcome == LoadOutcome::Unreadable
        || outcome == LoadOutcome::XmlWithoutValues;
}

bool readLegacySettings(const QString &path, Settings &settings, const BusyHook &busy)
{
    static const QStringList order = {kJREpath, kLibpath,      kDtPackages, kJavapath,
                                      kOrganization, kAuthor, kCP};
    if (busy)
        busy(true);
    QFile file(platform::nativePath(path));
    std::optional<QString> text;
    if (file.open(QIODevice::ReadOnly))
        text = lineFormText(file.readAll());
    if (text) {
        LineFormReader reader(*text);
        for (const QString &key : order) {
            const std::optional<QString> field = reader.next();
            if (!field)
                break;
            settings.setValue(key, *field);
        }
    }
    if (busy)
        busy(false);
    return text.has_value();
}

bool writeSettingsFile(const QString &path, const Settings &settings)
{
    const QByteArray bytes = settingsDocument(settings);
    if (bytes.isEmpty())
        return false;
    // As the workspace file: in place only where no new file can be made.
    return platform::writeFileWhole(path, bytes, true);
}

} // namespace core
