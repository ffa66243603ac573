// A stand-in for the kit's editor and compiler: it shows the command line and
// working directory it was given, so that a demo kit can be run without the
// real tools.
//
// As "jre" (the editor's runtime) it reads: -cp CLASSPATH Editor BASE PACKAGES
// [DATA] and shows which file the editor would open.
// As "jikes" (the compiler) it reads: -Xstdout -classpath CP SOURCES [-d DIR]
// and the rest verbatim, records everything in standin-compile.log in its
// working directory and, when a javac is on the PATH, compiles the sources.
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

QString compilerReport(const QStringList &args)
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
    QString text;
    const QFileInfo pattern(unixPath(sources));
    const QStringList names = pattern.dir().entryList({pattern.fileName()}, QDir::Files, QDir::Name);
    QStringList files;
    for (const QString &name : names)
        files << pattern.dir().filePath(name);
    text += QStringLiteral("Sources %1: %2 file(s)\n").arg(sources).arg(files.size());
    for (const QString &f : files)
        text += QStringLiteral("  %1\n").arg(f);

    const QString javac = QStandardPaths::findExecutable(QStringLiteral("javac"));
    if (javac.isEmpty()) {
        text += QStringLiteral("No javac on the PATH: nothing compiled.\n");
        return text;
    }
    if (files.isEmpty())
        return text + QStringLiteral("Nothing to compile.\n");
    QString cp = unixPath(classPath);
    cp.replace(QLatin1Char(';'), QLatin1Char(':'));
    QStringList javacArgs{QStringLiteral("-cp"), cp};
    if (!classDirectory.isEmpty())
        javacArgs << QStringLiteral("-d") << unixPath(classDirectory);
    javacArgs << files;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(javac, javacArgs);
    process.waitForFinished(120000);
    text += QStringLiteral("javac %1\n").arg(javacArgs.join(QLatin1Char(' ')));
    text += QString::fromLocal8Bit(process.readAll());
    text += process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0
        ? QStringLiteral("Compiled.\n")
        : QStringLiteral("javac failed (exit code %1).\n").arg(process.exitCode());
    return text;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const QString role = QFileInfo(QString::fromLocal8Bit(argv[0])).baseName();
    const bool compiler = role == QLatin1String("jikes");
    const QStringList args = application.arguments().mid(1);
    const QString cwd = QDir::currentPath();

    QString text = QStringLiteral("Working directory: %1\nArguments:\n%2\n").arg(cwd, argumentList(args));
    text += compiler ? compilerReport(args) : editorReport(args);

    if (compiler) {
        QFile log(QStringLiteral("standin-compile.log"));
        if (log.open(QIODevice::WriteOnly | QIODevice::Text))
            QTextStream(&log) << text;
    }

    QWidget window;
    window.setWindowTitle(compiler ? QStringLiteral("Stand-in compiler") : QStringLiteral("Stand-in editor"));
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(compiler ? QStringLiteral("The compiler was started with:")
                                          : QStringLiteral("The editor was started with:")));
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
