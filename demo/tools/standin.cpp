// A stand-in for the kit's editor and compiler: each tells the command line
// and working directory it was given (the editor in a window, the compiler
// on its output), so that a demo kit can be run without the real tools.
//
// As "jre" (the editor's runtime) it reads: -cp CLASSPATH Editor BASE PACKAGES
// [DATA] and shows which file the editor would open.
// As "jikes" (the compiler) it reads: -Xstdout -classpath CP SOURCES [-d DIR]
// and writes, as a compiler does, to its standard output what it was given
// and what it did: when a javac is on the PATH, javac compiles the sources
// and says what is wrong with them; without one, a source line holding
// "/* stand-in error: TEXT */" gets TEXT as an error in javac's form. It
// ends with 1 when there was an error, as a compiler does.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTextStream>
#include <QVBoxLayout>
#include <QWidget>

namespace {

QString unixPath(QString path)
{
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path;
}

QString argumentList(const QStringList &args)
{
    QString text;
    for (int i = 0; i < args.size(); ++i)
        text += QStringLiteral("  [%1] %2\n").arg(i + 1).arg(args[i]);
    return text;
}

QString editorReport(const QStringList &args)
{
    QString text;
    const int main = args.indexOf(QStringLiteral("Editor"));
    if (main < 0) {
        return QStringLiteral("No main class \"Editor\" in the arguments.\n");
    }
    if (main >= 2 && args[main - 2] == QLatin1String("-cp"))
        text += QStringLiteral("Class path: %1\n").arg(args[main - 1]);
    const QString base = args.value(main + 1);
    const QStringList packages = args.value(main + 2).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    text += QStringLiteral("File base name: %1\n").arg(base);
    text += QStringLiteral("Package search list: %1\n").arg(packages.join(QStringLiteral(", ")));
    text += QStringLiteral("Data packages: %1\n").arg(args.value(main + 3));
    // The first package is the one the user selected: look for the file there.
    if (!packages.isEmpty()) {
        QDir dir(unixPath(packages.first()));
        const QStringList found = dir.entryList({base + QStringLiteral(".*")}, QDir::Files);
        text += found.isEmpty()
            ? QStringLiteral("No %1.* in %2\n").arg(base, dir.path())
            : QStringLiteral("Would open: %1\n").arg(dir.filePath(found.first()));
    }
    return text;
}

// Errors in javac's form for the lines that ask for one, when no javac is
// there to find the real ones.
int markedErrors(const QStringList &files, const QString &sources, QTextStream &out)
{
    int errors = 0;
    const QString folder = sources.left(std::max(sources.lastIndexOf(QLatin1Char('\\')), sources.lastIndexOf(QLatin1Char('/'))) + 1);
    const QLatin1String marker("/* stand-in error: ");
    for (const QString &path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        const QString shown = folder + QFileInfo(path).fileName();
        int number = 0;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).chopped(1);
            ++number;
            const int at = line.indexOf(marker);
            if (at < 0)
                continue;
            const QString text = line.mid(at + marker.size()).section(QStringLiteral(" */"), 0, 0);
            // The source line without the marker, and a caret under its code.
            const QString code = line.left(at).trimmed();
            const int indent = int(line.indexOf(code));
            out << shown << ':' << number << ": error: " << text << '\n'
                << QString(indent, QLatin1Char(' ')) << code << '\n'
                << QString(indent, QLatin1Char(' ')) << "^\n";
            ++errors;
        }
    }
    if (errors > 0)
        out << errors << (errors == 1 ? " error\n" : " errors\n");
    return errors;
}

// The compiler's part: its report and javac's output on standard output;
// javac's status, or 1 for a marked error, as the end.
int runCompiler(const QStringList &args)
{
    QString classPath;
    QString sources;
    QString classDirectory;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("-classpath"))
            classPath = args.value(++i);
        else if (args[i] == QLatin1String("-d"))
            classDirectory = args.value(++i);
        else if (args[i].endsWith(QLatin1String(".java")))
            sources = args[i];
    }
    QTextStream out(stdout);
    out << "Stand-in compiler in " << QDir::currentPath() << "\nArguments:\n" << argumentList(args);
    const QFileInfo pattern(unixPath(sources));
    const QStringList names = pattern.dir().entryList({pattern.fileName()}, QDir::Files, QDir::Name);
    QStringList files;
    for (const QString &name : names)
        files << pattern.dir().filePath(name);
    out << QStringLiteral("Sources %1: %2 file(s)\n").arg(sources).arg(files.size());
    for (const QString &f : files)
        out << "  " << f << '\n';
    if (files.isEmpty()) {
        out << "Nothing to compile.\n";
        return 0;
    }

    const QString javac = QStandardPaths::findExecutable(QStringLiteral("javac"));
    if (javac.isEmpty()) {
        out << "No javac on the PATH: only marked errors are found.\n";
        const int errors = markedErrors(files, sources, out);
        return errors > 0 ? 1 : 0;
    }
    QString cp = unixPath(classPath);
    cp.replace(QLatin1Char(';'), QLatin1Char(':'));
    QStringList javacArgs{QStringLiteral("-cp"), cp};
    if (!classDirectory.isEmpty())
        javacArgs << QStringLiteral("-d") << unixPath(classDirectory);
    javacArgs << files;
    out << QStringLiteral("javac %1\n").arg(javacArgs.join(QLatin1Char(' ')));
    out.flush();
    // javac writes where we write, in its own order.
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(javac, javacArgs);
    process.waitForFinished(120000);
    const bool compiled = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    out << (compiled ? QStringLiteral("Compiled.\n") : QStringLiteral("javac failed (exit code %1).\n").arg(process.exitCode()));
    return compiled ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    const QString role = QFileInfo(QString::fromLocal8Bit(argv[0])).baseName();
    // The compiler is a console program: no window, no display needed.
    if (role == QLatin1String("jikes")) {
        QCoreApplication application(argc, argv);
        return runCompiler(application.arguments().mid(1));
    }
    QApplication application(argc, argv);
    const QStringList args = application.arguments().mid(1);
    const QString text = QStringLiteral("Working directory: %1\nArguments:\n%2\n").arg(QDir::currentPath(), argumentList(args))
        + editorReport(args);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Stand-in editor"));
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("The editor was started with:")));
    auto *view = new QPlainTextEdit(text);
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(view);
    auto *close = new QPushButton(QStringLiteral("Close"));
    QObject::connect(close, &QPushButton::clicked, &window, &QWidget::close);
    layout->addWidget(close);
    window.resize(640, 360);
    window.show();
    return QApplication::exec();
}
