#include "core/SettingsFile.h"
#include "platform/FileSystem.h"
#include "platform/NativePath.h"

#include <QBuffer>
#include <QFile>
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
// depth, gives its attributes. Nothing is taken from a document that turns
// out not to be well-formed.
bool readXml(QIODevice &device, Settings &settings)
{
    QXmlStreamReader reader(&device);
    QHash<QString, QXmlStreamAttributes> first;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString name = reader.qualifiedName().toString();
        if (!first.contains(name))
            first.insert(name, reader.attributes());
    }
    if (reader.hasError())
        return false;

    for (const Group &group : groups()) {
        const auto found = first.constFind(group.element);
        if (found == first.constEnd())
            continue;
        for (const QString &key : group.keys) {
            for (const QXmlStreamAttribute &attribute : *found) {
                if (attribute.qualifiedName() == key) {
                    settings.setValue(key, attribute.value().toString());
                    break;
                }
            }
        }
    }
    return true;
}

// One field after another of the comma-delimited line form.
class LineFormReader
{
public:
    explicit LineFormReader(QIODevice &device) : m_device(device)
    {
        if (m_device.peek(3) == QByteArrayLiteral("\xEF\xBB\xBF"))
            m_device.skip(3);
    }

    // The next field, or nothing when the file has ended.
    std::optional<QString> next()
    {
        char c = 0;
        do {
            if (!get(c))
                return std::nullopt;
        } while (c == ' ' || c == '\t');

        QByteArray field;
        if (c == '"') {
            while (get(c) && c != '"')
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
            while (field.endsWith(' ') || field.endsWith('\t'))
                field.chop(1);
        }
        // CR LF ends a line as one delimiter.
        char lf = 0;
        if (c == '\r' && m_device.peek(&lf, 1) == 1 && lf == '\n')
            m_device.skip(1);
        // Written in the system's 8-bit code page, as the workspace file.
        return QString::fromLocal8Bit(field);
    }

private:
    static bool isDelimiter(char c) { return c == ',' || c == '\r' || c == '\n'; }
    bool get(char &c)
    {
        if (m_device.getChar(&c))
            return true;
        c = 0;
        return false;
    }

    QIODevice &m_device;
};

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

// XML begins with "<", after an optional byte-order mark and blanks; the
// line form's first value is a path.
bool looksLikeXml(const QByteArray &bytes)
{
    qsizetype i = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return i < bytes.size() && bytes[i] == '<';
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
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        return readXml(buffer, settings) ? LoadOutcome::Xml : LoadOutcome::Malformed;
    }
    readLegacySettings(path, settings, busy);
    return LoadOutcome::LineForm;
}

bool keptUnread(LoadOutcome outcome)
{
    return outcome == LoadOutcome::Malformed || outcome == LoadOutcome::Unreadable;
}

void readLegacySettings(const QString &path, Settings &settings, const BusyHook &busy)
{
    static const QStringList order = {kJREpath, kLibpath,      kDtPackages, kJavapath,
                                      kOrganization, kAuthor, kCP};
    if (busy)
        busy(true);
    QFile file(platform::nativePath(path));
    if (file.open(QIODevice::ReadOnly)) {
        LineFormReader reader(file);
        for (const QString &key : order) {
            const std::optional<QString> field = reader.next();
            if (!field)
                break;
            settings.setValue(key, *field);
        }
    }
    if (busy)
        busy(false);
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
