#include "core/CompilerOutput.h"
#include "core/StringTable.h"
#include "platform/CodePage.h"

namespace core {
namespace {

// A line longer than this is cut there: a compiler that never ends a line
// must not fill our memory.
constexpr int kLongestLine = 64 * 1024;

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The decimal number at `at`, and where it ends; -1 when there is none.
int numberAt(const QString &text, int at, int &end)
{
    end = at;
    int value = 0;
    while (end < text.size() && isDigit(text[end]) && end - at < 9)
        value = value * 10 + (text[end++].unicode() - u'0');
    return end > at ? value : -1;
}

// "Error", "Warning" or "Caution" in the kit compiler's kind of a message
// ("Semantic Error", "Lexical Caution"); an error when it names neither.
Severity kindSeverity(QStringView kind)
{
    if (kind.contains(u"Warning") || kind.contains(u"Caution"))
        return Severity::Warning;
    return Severity::Error;
}

// javac's word after the place, in English or Japanese.
Severity javacSeverity(QStringView rest)
{
    for (const char16_t *word : {u"error:", u"エラー:"}) {
        if (rest.startsWith(word))
            return Severity::Error;
    }
    for (const char16_t *word : {u"warning:", u"警告:"}) {
        if (rest.startsWith(word))
            return Severity::Warning;
    }
    return Severity::None;
}

// "file:12:" at the start of the line, a drive's "C:" not taken for it:
// the file, the line and where the text after it begins.
bool placeAt(const QString &line, QString &file, int &number, int &after)
{
    for (int colon = line.indexOf(u':', 1); colon > 0; colon = line.indexOf(u':', colon + 1)) {
        int end = 0;
        number = numberAt(line, colon + 1, end);
        if (number >= 0 && end < line.size() && line[end] == u':') {
            file = line.left(colon);
            after = end + 1;
            return true;
        }
    }
    return false;
}

CompilerOutputReader::Reading placed(Severity severity, const QString &file, int line, int column,
                                     const QString &text)
{
    return {CompilerMessage{severity, file, line, column, text, 0, 0}, false};
}

// javac's messages without a place, which name no file: its option and
// file errors ("error: file not found: ..."), its option warnings
// ("warning: [options] ..."), in English or Japanese (whose warning has no
// blank after the colon), and an older javac's "javac: invalid flag: ...".
Severity placelessSeverity(QStringView line)
{
    for (const char16_t *word : {u"error: ", u"Error: ", u"javac: ", u"エラー:"}) {
        if (line.startsWith(word))
            return Severity::Error;
    }
    for (const char16_t *word : {u"warning: ", u"Warning: ", u"警告:"}) {
        if (line.startsWith(word))
            return Severity::Warning;
    }
    return Severity::None;
}

// ecj's place: "1. ERROR in /path/A.java (at line 2)", or WARNING; the
// line is left out where the problem has none.
bool ecjPlace(const QString &line, Severity &severity, QString &file, int &number)
{
    int end = 0;
    if (numberAt(line, 0, end) < 0 || !QStringView(line).mid(end).startsWith(u". "))
        return false;
    const QStringView rest = QStringView(line).mid(end + 2);
    int in = 0;
    if (rest.startsWith(u"ERROR in ")) {
        severity = Severity::Error;
        in = 9;
    } else if (rest.startsWith(u"WARNING in ")) {
        severity = Severity::Warning;
        in = 11;
    } else {
        return false;
    }
    QStringView path = rest.mid(in);
    number = 0;
    const int at = int(path.lastIndexOf(u" (at line "));
    if (at > 0 && path.endsWith(u')')) {
        int numberEnd = 0;
        const int found = numberAt(path.toString(), at + 10, numberEnd);
        if (found >= 0 && numberEnd == path.size() - 1) {
            number = found;
            path = path.left(at);
        }
    }
    file = path.toString();
    return !file.isEmpty();
}

} // namespace

CompilerOutputReader::Reading CompilerOutputReader::read(const QString &line)
{
    // ecj's source and caret lines begin with a tab, and its text follows
    // them; "----------" ends a problem.
    if (m_textDue) {
        if (line.startsWith(u'\t'))
            return {};
        m_textDue = false;
        if (line != u"----------")
            return {CompilerMessage{}, true};
    }
    {
        Severity severity = Severity::None;
        QString file;
        int number = 0;
        if (ecjPlace(line, severity, file, number)) {
            m_textDue = true;
            // Its own words until its text comes.
            return placed(severity, file, number, 0, line.mid(line.indexOf(u' ') + 1));
        }
    }
    // The kit compiler's block: its heading names the file (or, for its
    // system errors, none)...
    if (line.startsWith(u"Found ") && line.endsWith(u':')) {
        const int open = line.indexOf(u'"');
        m_blockLine = 0;
        if (open > 0 && line.endsWith(u"\":")
            && (line.mid(0, open).endsWith(u" compiling ") || line.mid(0, open).endsWith(u" in "))) {
            m_blockFile = line.mid(open + 1, line.size() - open - 3);
            return {};
        }
        if (open < 0) {
            m_blockFile.clear();
            return {};
        }
    }
    // ...its messages take the line of the first source line shown above
    // them...
    if (line.startsWith(u"*** ")) {
        const QString text = line.mid(4);
        const int colon = text.indexOf(u':');
        const Reading reading = placed(kindSeverity(QStringView(text).left(colon < 0 ? text.size() : colon)),
                                       m_blockFile, m_blockLine, 0, text);
        m_blockLine = 0;
        return reading;
    }
    // ...and those are numbered: "    12.     return missing;".
    if (!m_blockFile.isEmpty()) {
        int start = 0;
        while (start < line.size() && line[start] == u' ')
            ++start;
        int end = 0;
        const int number = numberAt(line, start, end);
        if (number >= 0 && end < line.size() && line[end] == u'.') {
            if (m_blockLine == 0)
                m_blockLine = number;
            return {};
        }
    }

    QString file;
    int number = 0;
    int after = 0;
    if (!placeAt(line, file, number, after)) {
        const Severity severity = placelessSeverity(line);
        if (severity == Severity::None)
            return {};
        return placed(severity, QString(), 0, 0, line);
    }
    // The emacs-like form: file:line:column:endline:endcolumn: Kind: text.
    int at = after;
    int end = 0;
    const int column = numberAt(line, at, end);
    if (column >= 0 && end < line.size() && line[end] == u':') {
        int pieces = 1;
        for (at = end + 1; pieces < 3; ++pieces, at = end + 1) {
            if (numberAt(line, at, end) < 0 || end >= line.size() || line[end] != u':')
                break;
        }
        if (pieces == 3) {
            const QString text = line.mid(at).trimmed();
            const int colon = text.indexOf(u':');
            return placed(kindSeverity(QStringView(text).left(colon < 0 ? text.size() : colon)), file, number,
                          column, text);
        }
    }
    // javac: file:line: error: text. An older javac said no "error:".
    if (after >= line.size() || line[after] != u' ')
        return {};
    const QString text = line.mid(after + 1);
    Severity severity = javacSeverity(text);
    if (severity == Severity::None && file.endsWith(QLatin1String(".java"), Qt::CaseInsensitive))
        severity = Severity::Error;
    if (severity == Severity::None)
        return {};
    return placed(severity, file, number, 0, text);
}

QList<OutputLine> CompileOutput::take(const QByteArray &bytes)
{
    QList<OutputLine> out;
    m_partial += bytes;
    const int last = m_partial.lastIndexOf('\n');
    if (last < 0) {
        if (m_partial.size() > kLongestLine) {
            readLine(platform::fromSystemEncoding(m_partial), out);
            m_partial.clear();
        }
        return out;
    }
    // One decoding for all whole lines: a line break is never part of a
    // character in any encoding a compiler writes in.
    const QString text = platform::fromSystemEncoding(m_partial.left(last));
    m_partial.remove(0, last + 1);
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        qsizetype cut = end;
        if (cut > start && text[cut - 1] == u'\r')
            --cut;
        readLine(text.mid(start, cut - start), out);
        start = end + 1;
    }
    return out;
}

QList<OutputLine> CompileOutput::finish()
{
    QList<OutputLine> out;
    if (!m_partial.isEmpty()) {
        QString text = platform::fromSystemEncoding(m_partial);
        if (text.endsWith(u'\r'))
            text.chop(1);
        readLine(text, out);
        m_partial.clear();
    }
    return out;
}

void CompileOutput::readLine(const QString &text, QList<OutputLine> &out)
{
    const CompilerOutputReader::Reading reading = m_reader.read(text);
    const qint64 lineNumber = m_lines++;
    OutputLine shown{text, Severity::None, -1};
    if (reading.textOfLast) {
        // Marked as its message is, which takes the text in place of the
        // place's own words.
        if (!m_messages.empty()) {
            CompilerMessage &last = m_messages.back();
            last.text = text;
            last.lastOutputLine = lineNumber;
            shown.severity = last.severity;
            shown.message = messageCount() - 1;
        }
    } else if (reading.message.severity != Severity::None) {
        if (reading.message.severity == Severity::Error)
            ++m_errors;
        else
            ++m_warnings;
        m_messages.push_back(reading.message);
        m_messages.back().outputLine = lineNumber;
        m_messages.back().lastOutputLine = lineNumber;
        shown.severity = reading.message.severity;
        shown.message = messageCount() - 1;
    }
    // The messages of lines no longer kept go with them.
    while (!m_messages.empty() && m_messages.front().lastOutputLine <= m_lines - 1 - m_keptLines) {
        m_messages.pop_front();
        ++m_dropped;
    }
    out.append(shown);
}

const CompilerMessage *CompileOutput::message(qint64 number) const
{
    if (number < m_dropped || number >= messageCount())
        return nullptr;
    return &m_messages[size_t(number - m_dropped)];
}

QString messageFilePath(const QString &file, const QString &workingDirectory)
{
    if (file.isEmpty())
        return QString();
    QString path = file;
    path.replace(u'/', u'\\');
    // A root of its own: "\\server", "\\path" (and "/path"), or a drive.
    const bool absolute = path.startsWith(u'\\') || (path.size() >= 2 && path[1] == u':' && path[0].isLetter());
    return absolute ? path : workingDirectory + u'\\' + path;
}

QString FunctionBlockFile::shownPath() const
{
    return QStringLiteral("src\\") + package + QLatin1Char('\\') + fileName;
}

std::optional<FunctionBlockFile> functionBlockOf(const QString &javaFile, const QString &compiledPackage)
{
    QString path = javaFile;
    path.replace(u'/', u'\\');
    if (!path.endsWith(QLatin1String(".java"), Qt::CaseInsensitive))
        return std::nullopt;
    const int slash = path.lastIndexOf(u'\\');
    const QString name = path.mid(slash + 1).chopped(5);
    if (name.isEmpty())
        return std::nullopt;
    if (slash < 0) {
        if (compiledPackage.isEmpty())
            return std::nullopt;
        return FunctionBlockFile{compiledPackage, name + QStringLiteral(".fbt")};
    }
    // The last runtime tree in the path: "..\lib\fb\rt\" and "C:\kit\lib\fb\rt\" alike.
    const QLatin1String tree("lib\\fb\\rt\\");
    int at = path.lastIndexOf(tree, -1, Qt::CaseInsensitive);
    while (at > 0 && path[at - 1] != u'\\')
        at = path.lastIndexOf(tree, at - 1, Qt::CaseInsensitive);
    if (at < 0)
        return std::nullopt;
    const int packageStart = at + tree.size();
    if (slash <= packageStart)
        return std::nullopt;
    return FunctionBlockFile{path.mid(packageStart, slash - packageStart), name + QStringLiteral(".fbt")};
}

Workspace workspaceFor(Workspace workspace, const QString &package)
{
    int index = indexOfEntry(workspace.entries, package);
    if (index < 0) {
        workspace.entries.append(package);
        index = int(workspace.entries.size()) - 1;
    }
    workspace.selected = index;
    return workspace;
}

QString messageCountText(int errors, int warnings)
{
    if (errors == 0 && warnings == 0)
        return message(msg::kCompileNoMessages);
    QStringList parts;
    if (errors > 0)
        parts << (errors == 1 ? message(msg::kCompileOneError) : message(msg::kCompileErrors).arg(errors));
    if (warnings > 0)
        parts << (warnings == 1 ? message(msg::kCompileOneWarning) : message(msg::kCompileWarnings).arg(warnings));
    return parts.join(message(msg::kCompileCountJoin));
}

QString processEndText(const platform::ProcessEnd &end)
{
    switch (end.kind) {
    case platform::ProcessEnd::Kind::Signalled: {
        const QString number = QString::number(end.code);
        return message(msg::kEndSignal)
            .arg(end.signalName.isEmpty() ? number : number + QStringLiteral(" (") + end.signalName + u')');
    }
    case platform::ProcessEnd::Kind::Crashed:
        return message(msg::kEndException)
            .arg(QStringLiteral("0x") + QString::number(end.code, 16).toUpper().rightJustified(8, u'0'));
    case platform::ProcessEnd::Kind::Exited:
        break;
    }
    // As a command interpreter shows it: a Windows status past 2^31 is
    // negative there.
    return message(msg::kEndStatus).arg(qint32(end.code));
}

QString compileEndText(const CompileEnd &end)
{
    const QString counts = messageCountText(end.errors, end.warnings);
    switch (end.how) {
    case CompileEnd::How::NotStarted:
        return message(msg::kCompileNotStarted);
    case CompileEnd::How::Stopped:
        return message(msg::kCompileStopped).arg(counts);
    case CompileEnd::How::Ended:
        break;
    }
    int id = msg::kCompileEndedFailure;
    if (end.end.kind != platform::ProcessEnd::Kind::Exited)
        id = msg::kCompileCrashed;
    else if (end.end.code == 0)
        id = msg::kCompileEndedSuccess;
    return message(id).arg(processEndText(end.end), counts);
}

} // namespace core
