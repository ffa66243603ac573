#pragma once
// The "Compile" window: the line that was started, the compiler's output as
// it comes (the last lines; errors and warnings marked), every error and
// warning in a list of its own, and at the end one line saying how the
// compiler ended. The compiler writes its output to a file itself; the
// window follows that file, so the compiler never waits for us and runs on
// when we are gone.
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
class QTreeWidget;
class QTreeWidgetItem;

namespace ui {
class CompileOutputModel;
}

class frmCompile : public QWidget
{
    Q_OBJECT
public:
    // How many lines of output the window keeps, the last ones.
    static constexpr int kKeptLines = 10000;

    // owner: the main window, beside which it opens.
    // openMessage: opens what an error points at, given the package that
    // was compiled; returns what to say when it could not (empty when it
    // did).
    using OpenMessage = std::function<QString(const core::CompilerMessage &, const QString &compiledPackage)>;
    frmCompile(QWidget *owner, OpenMessage openMessage);
    ~frmCompile() override;

    // Starts the compiler's words in the current directory, its output going to
    // logPath (in a temporary file when that cannot be made, which the
    // window then says: kitFolder names where the log should have gone).
    // False when the compiler could not be started, which the end line
    // says. compiledPackage is the entry whose sources are compiled.
    bool start(const platform::SystemCommand &command, const QString &logPath, const QString &kitFolder, const QString &compiledPackage);
    bool isRunning() const { return m_process != nullptr; }
    // Shows the window, beside its owner the first time, and raises it.
    void bringToFront();
    // Shown under the end line until the next compile.
    void addNote(const QString &note);
    // How the last compile ended; empty while it runs.
    QString endText() const;
    // Where the output went, as the system names it.
    QString logFile() const { return m_logPath; }
    const core::CompileOutput &output() const { return *m_output; }
    // What the output view holds now, line by line.
    QStringList shownLines() const;

    QLabel *lblCommandLine = nullptr;
    QLineEdit *txtCommandLine = nullptr;
    QLabel *lblOutput = nullptr;
    QListView *lstOutput = nullptr;
    QLabel *lblMessages = nullptr;
    QTreeWidget *lstMessages = nullptr;
    QLabel *lblEnd = nullptr;
    QLabel *lblNote = nullptr;
    QPushButton *cmdStop = nullptr;
    QPushButton *cmdClose = nullptr;

signals:
    // The end line, once the compiler has ended and its output is read.
    void ended(const QString &endText);

private:
    void cmdStop_Click();
    // Reads what has come, for a slice of time, and looks for the end.
    void follow();
    void showLines(const QList<core::OutputLine> &lines);
    void showNewMessages();
    void finishCompile(const core::CompileEnd &end);
    void openMessageAt(int index);
    void dropTemporaryLog();

    OpenMessage m_openMessage;
    QString m_compiledPackage;
    ui::CompileOutputModel *m_model = nullptr;
    QTimer *m_follow = nullptr;
    std::unique_ptr<platform::RunningProcess> m_process;
    std::unique_ptr<core::CompileOutput> m_output;
    std::optional<platform::ProcessEnd> m_end;
    QFile m_log;
    QString m_logPath;
    bool m_logIsTemporary = false;
    bool m_stopRequested = false;
    bool m_placed = false;
    bool m_dropNoted = false;
    int m_shownMessages = 0;
    QString m_endText;
    QStringList m_notes;
};
