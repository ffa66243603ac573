#pragma once
// The "Compile" window: the line that was started, the compiler's output as
// it comes (the last lines; errors and warnings marked), the errors and
// warnings of those lines in a list of their own, and at the end one line
// saying how the compiler ended. The compiler writes its output to a file
// itself; the window follows that file, so the compiler never waits for us
// and runs on when we are gone.
#include "core/CompilerOutput.h"
#include "platform/Process.h"

#include <QFile>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QTimer;
class QTreeView;

namespace ui {
class CompileOutputModel;
class CompileMessagesModel;
} // namespace ui

class frmCompile : public QWidget
{
    Q_OBJECT
public:
    // How many lines of output the window keeps, the last ones, with their
    // errors and warnings.
    static constexpr int kKeptLines = 10000;

    // owner: the main window, beside which it opens.
    // openMessage: opens what an error points at, given the package that
    // was compiled; returns what to say when it could not (empty when it
    // did).
    // compileAgain: compiles that package again (the Compile button, F5).
    using OpenMessage = std::function<QString(const core::CompilerMessage &, const QString &compiledPackage)>;
    using CompileAgain = std::function<void(const QString &compiledPackage)>;
    frmCompile(QWidget *owner, OpenMessage openMessage, CompileAgain compileAgain);
    ~frmCompile() override;

    // Starts the compiler's words in the current directory, the kit folder,
    // its output going to logPath. Where that file cannot be made, the
    // output goes to the kit's own log in the temporary folder (kept after
    // exit); where none can be made, to this window only. The window says
    // which. False when the compiler could not be started, which the end
    // line says. compiledPackage is the entry whose sources are compiled.
    bool start(const platform::SystemCommand &command, const QString &logPath, const QString &kitFolder,
               const QString &compiledPackage);
    // Until the compiler and all it started have ended and the output is read.
    bool isRunning() const { return m_process != nullptr; }
    // Shows the window, beside its owner the first time, and raises it.
    void bringToFront();

    // The notes under the end line, one a kind, an empty text none. Those
    // of a running compile (StillRunning, LeftRunning) go when it ends, the
    // others with the next compile.
    enum class Note { Log, LinesDropped, MessagesDropped, StillRunning, LeftRunning, Stopped, Opened };
    void setNote(Note kind, const QString &text);

    // How the last compile ended; empty while it runs.
    QString endText() const { return m_endText; }
    // Where the output went, as the system names it; empty for no file.
    QString logFile() const { return m_logPath; }
    const QString &compiledPackage() const { return m_compiledPackage; }
    const core::CompileOutput &output() const { return *m_output; }
    // What the output view holds now, line by line, and the message a line
    // marks (nothing for a plain line).
    QStringList shownLines() const;
    const core::CompilerMessage *messageOfLine(int row) const;
    // Selects the next (step 1) or previous (step -1) listed error or
    // warning, and its line in the output; opens nothing.
    void goToMessage(int step);

    QLabel *lblCommandLine = nullptr;
    QLineEdit *txtCommandLine = nullptr;
    QLabel *lblOutput = nullptr;
    QListView *lstOutput = nullptr;
    QLabel *lblMessages = nullptr;
    QTreeView *lstMessages = nullptr;
    QLabel *lblEnd = nullptr;
    QLabel *lblNote = nullptr;
    QPushButton *cmdCompile = nullptr;
    QPushButton *cmdStop = nullptr;
    QPushButton *cmdClose = nullptr;

signals:
    // The end line, once the compiler has ended and its output is read.
    void ended(const QString &endText);

private:
    void cmdCompile_Click();
    void cmdStop_Click();
    // Reads what has come, for a slice of time, and looks for the end.
    void follow();
    void lookForTheEnd();
    void showLines(const QList<core::OutputLine> &lines);
    void finishCompile(const core::CompileEnd &end);
    void openNumbered(qint64 number);
    void selectMessage(int row);
    void showNotes();

    OpenMessage m_openMessage;
    CompileAgain m_compileAgain;
    QString m_compiledPackage;
    ui::CompileOutputModel *m_model = nullptr;
    ui::CompileMessagesModel *m_messages = nullptr;
    QTimer *m_follow = nullptr;
    std::unique_ptr<platform::RunningProcess> m_process;
    std::unique_ptr<core::CompileOutput> m_output;
    // The compiler's own end, once it has come; and whether all it started
    // has ended too.
    std::optional<platform::ProcessEnd> m_end;
    bool m_allEnded = false;
    QFile m_log;
    QString m_logPath;
    // The output comes through a pipe: no file could be made.
    bool m_piped = false;
    bool m_stopRequested = false;
    bool m_placed = false;
    QList<std::pair<Note, QString>> m_notes;
    QString m_endText;
};
