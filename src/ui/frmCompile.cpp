#include "ui/frmCompile.h"
#include "core/StringTable.h"
#include "platform/NativePath.h"
#include "ui/LocalizeForm.h"
#include "ui/Twips.h"
#include "ui/frmCheckKit.h"
#include "ui/WindowPlacement.h"

#include <QAbstractListModel>
#include <QAbstractTableModel>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <deque>

namespace {

QIcon severityIcon(core::Severity severity)
{
    if (severity == core::Severity::Error)
        return frmCheckKit::verdictIcon(core::Verdict::Problem);
    if (severity == core::Severity::Warning)
        return frmCheckKit::verdictIcon(core::Verdict::Warning);
    return {};
}

// Where a compiler's file name begins after its folder; -1 for none.
int lastSeparator(const QString &file)
{
    return int(std::max(file.lastIndexOf(u'/'), file.lastIndexOf(u'\\')));
}

// The file's name first, then its folder: a narrow column cuts the folder.
QString nameFirst(const QString &file)
{
    const int cut = lastSeparator(file);
    if (cut < 0)
        return file;
    return file.mid(cut + 1) + QStringLiteral(" (") + file.left(std::max(cut, 1)) + u')';
}

// The system's fixed-width font, or, where the one it names is not there,
// any fixed-width font that is.
QFont fixedWidthFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (QFontInfo(font).fixedPitch())
        return font;
    for (const QString &family : QFontDatabase::families()) {
        if (QFontDatabase::isFixedPitch(family)) {
            font.setFamily(family);
            break;
        }
    }
    return font;
}

// Screen readers announce it as the window it is, by its title.
QAccessibleInterface *compileWindowAccessible(const QString &key, QObject *object)
{
    if (key == QLatin1String("frmCompile") && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

} // namespace

namespace ui {

// The last lines of output, each with its mark and the message it carries
// (a number of the compile's messages, or -1). Lines go in at the end in
// batches and leave at the front, so a long output costs the view no more
// than a short one.
class CompileOutputModel : public QAbstractListModel
{
public:
    struct Row {
        QString text;
        core::Severity severity = core::Severity::None;
        qint64 message = -1;
    };

    explicit CompileOutputModel(int kept, QObject *parent) : QAbstractListModel(parent), m_kept(kept) {}

    int rowCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : int(m_rows.size()); }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= int(m_rows.size()))
            return {};
        const Row &row = m_rows[size_t(index.row())];
        switch (role) {
        case Qt::DisplayRole:
            return row.text;
        case Qt::ForegroundRole:
            if (row.severity == core::Severity::Error)
                return QColor(0xb0, 0x00, 0x00);
            if (row.severity == core::Severity::Warning)
                return QColor(0x8a, 0x5a, 0x00);
            return {};
        case Qt::DecorationRole:
            return severityIcon(row.severity);
        default:
            return {};
        }
    }

    // Appends a batch; returns whether older lines had to go.
    bool append(std::vector<Row> rows)
    {
        m_total += qint64(rows.size());
        const bool cut = rows.size() > size_t(m_kept);
        if (cut)
            rows.erase(rows.begin(), rows.end() - m_kept);
        const size_t over = m_rows.size() + rows.size() > size_t(m_kept) ? m_rows.size() + rows.size() - size_t(m_kept) : 0;
        if (over > 0) {
            beginRemoveRows({}, 0, int(over) - 1);
            m_rows.erase(m_rows.begin(), m_rows.begin() + qsizetype(over));
            endRemoveRows();
        }
        if (!rows.empty()) {
            beginInsertRows({}, int(m_rows.size()), int(m_rows.size() + rows.size()) - 1);
            for (Row &row : rows)
                m_rows.push_back(std::move(row));
            endInsertRows();
        }
        return cut || over > 0;
    }

    void clear()
    {
        beginResetModel();
        m_rows.clear();
        m_total = 0;
        endResetModel();
    }

    const Row &row(int index) const { return m_rows[size_t(index)]; }
    // The row that shows the output's line of this number; -1 once it has gone.
    int rowOfLine(qint64 line) const
    {
        const qint64 row = line - (m_total - qint64(m_rows.size()));
        return row >= 0 && row < qint64(m_rows.size()) ? int(row) : -1;
    }

private:
    int m_kept;
    std::deque<Row> m_rows;
    // Lines appended since the last clear.
    qint64 m_total = 0;
};

// The compile's kept errors and warnings, as the output keeps them: the
// oldest go with their lines, new ones come at the end, and the last one
// may still take its text (ecj writes it below its place).
class CompileMessagesModel : public QAbstractTableModel
{
public:
    explicit CompileMessagesModel(QObject *parent) : QAbstractTableModel(parent) {}

    void reset(const core::CompileOutput *output, const QString &workingDirectory)
    {
        beginResetModel();
        m_output = output;
        m_workingDirectory = workingDirectory;
        m_first = output->firstKept();
        m_count = 0;
        endResetModel();
    }

    // Follows the output's kept messages; returns the first new row.
    int sync()
    {
        const qint64 first = m_output->firstKept();
        const qint64 gone = std::min(first - m_first, qint64(m_count));
        if (gone > 0) {
            beginRemoveRows({}, 0, int(gone) - 1);
            m_count -= int(gone);
            m_first = first;
            endRemoveRows();
        }
        m_first = first;
        if (m_count > 0)
            emit dataChanged(index(m_count - 1, 0), index(m_count - 1, 2));
        const int count = int(m_output->messageCount() - m_first);
        const int added = m_count;
        if (count > m_count) {
            beginInsertRows({}, m_count, count - 1);
            m_count = count;
            endInsertRows();
        }
        return added;
    }

    const core::CompilerMessage *messageAt(int row) const { return m_output ? m_output->message(m_first + row) : nullptr; }
    qint64 numberAt(int row) const { return m_first + row; }

    int rowCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : m_count; }
    int columnCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : 3; }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        return core::message(core::msg::kCompileColumnFile + section);
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        const core::CompilerMessage *m = index.isValid() ? messageAt(index.row()) : nullptr;
        if (!m)
            return {};
        switch (role) {
        case Qt::DisplayRole:
            if (index.column() == 0)
                return nameFirst(m->file);
            if (index.column() == 1)
                return m->line > 0 ? QString::number(m->line) : QString();
            return m->text;
        case Qt::DecorationRole:
            return index.column() == 0 ? severityIcon(m->severity) : QVariant();
        case Qt::ToolTipRole:
            if (index.column() == 0) {
                QString tip = core::message(m->severity == core::Severity::Error ? core::msg::kCompileError
                                                                                 : core::msg::kCompileWarning);
                if (!m->file.isEmpty())
                    tip += QStringLiteral(": ") + platform::systemPath(core::messageFilePath(m->file, m_workingDirectory));
                return tip;
            }
            return index.column() == 2 ? m->text : QVariant();
        default:
            return {};
        }
    }

private:
    const core::CompileOutput *m_output = nullptr;
    QString m_workingDirectory;
    qint64 m_first = 0;
    int m_count = 0;
};

} // namespace ui

namespace {

// Read in pieces and for a slice of time at most, so that a click or a key
// is handled between them however fast the compiler writes. While the
// compiler runs, a slice at most every kPauseMs: a compiler that pours out
// its output faster than we read it must not be slowed by us (on a busy
// machine the two would share a core); the window catches up at its end.
constexpr qint64 kPiece = 256 * 1024;
constexpr qint64 kSliceMs = 10;
constexpr int kPauseMs = 40;
constexpr int kIdleMs = 50;

// The kit's own log in the temporary folder, for a kit folder that takes
// no new file: one a kit, made anew at each compile as compile.log is, and
// left after exit as the only copy.
QString temporaryLog(const QString &kitFolder)
{
    const QByteArray kit = QCryptographicHash::hash(kitFolder.toUtf8(), QCryptographicHash::Sha1).toHex().left(8);
    return QDir::tempPath() + QStringLiteral("/TAVO_Starter-compile-") + QLatin1String(kit) + QStringLiteral(".log");
}

} // namespace

frmCompile::frmCompile(QWidget *owner, OpenMessage openMessage, CompileAgain compileAgain)
    : QWidget(owner, Qt::Window),
      m_openMessage(std::move(openMessage)),
      m_compileAgain(std::move(compileAgain)),
      m_output(std::make_unique<core::CompileOutput>(kKeptLines))
{
    static const bool accessible = [] {
        QAccessible::installFactory(compileWindowAccessible);
        return true;
    }();
    Q_UNUSED(accessible);
    setObjectName(QStringLiteral("frmCompile"));
    setProperty(ui::kTagProperty, QString::number(core::msg::kCompileTitle));
    setWindowTitle(QStringLiteral("Compile"));
    resize(ui::twipsToPixels(this, 10500), ui::twipsToPixels(this, 7200));

    auto label = [this](const char *name, int tag, const QString &caption) {
        auto *l = new QLabel(caption, this);
        l->setObjectName(QLatin1String(name));
        if (tag > 0)
            l->setProperty(ui::kTagProperty, QString::number(tag));
        return l;
    };
    lblCommandLine = label("lblCommandLine", core::msg::kCompileCommandLabel, QStringLiteral("Command line:"));
    txtCommandLine = new QLineEdit(this);
    txtCommandLine->setObjectName(QStringLiteral("txtCommandLine"));
    txtCommandLine->setReadOnly(true);
    // Taken by a click, for copying; the keys go to the output.
    txtCommandLine->setFocusPolicy(Qt::ClickFocus);
    lblCommandLine->setBuddy(txtCommandLine);

    lblOutput = label("lblOutput", core::msg::kCompileOutputLabel, QStringLiteral("Output:"));
    m_model = new ui::CompileOutputModel(kKeptLines, this);
    lstOutput = new QListView(this);
    lstOutput->setObjectName(QStringLiteral("lstOutput"));
    lstOutput->setModel(m_model);
    lstOutput->setUniformItemSizes(true);
    lstOutput->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstOutput->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstOutput->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    lstOutput->setTextElideMode(Qt::ElideNone);
    lblOutput->setBuddy(lstOutput);
    // Ctrl+C copies the chosen lines as text.
    auto *copy = new QAction(lstOutput);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    lstOutput->addAction(copy);
    connect(copy, &QAction::triggered, this, [this] {
        QModelIndexList chosen = lstOutput->selectionModel()->selectedRows();
        std::sort(chosen.begin(), chosen.end());
        QStringList lines;
        for (const QModelIndex &index : chosen)
            lines << index.data().toString();
        QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
    });

    lblMessages = label("lblMessages", core::msg::kCompileMessagesLabel, QStringLiteral("Errors and warnings:"));
    m_messages = new ui::CompileMessagesModel(this);
    m_messages->reset(m_output.get(), QString());
    lstMessages = new QTreeView(this);
    lstMessages->setObjectName(QStringLiteral("lstMessages"));
    lstMessages->setModel(m_messages);
    lstMessages->setRootIsDecorated(false);
    lstMessages->setUniformRowHeights(true);
    lstMessages->setWordWrap(false);
    lstMessages->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstMessages->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstMessages->header()->setStretchLastSection(true);
    lstMessages->header()->resizeSection(0, ui::twipsToPixels(this, 3600));
    lstMessages->header()->resizeSection(1, ui::twipsToPixels(this, 900));
    lblMessages->setBuddy(lstMessages);

    lblEnd = label("lblEnd", 0, QString());
    lblEnd->setWordWrap(true);
    lblEnd->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblNote = label("lblNote", 0, QString());
    lblNote->setWordWrap(true);
    lblNote->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto button = [this](const char *name, int tag, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setProperty(ui::kTagProperty, QString::number(tag));
        b->setAutoDefault(false);
        return b;
    };
    // The main window's own caption: Alt+C compiles here as there.
    cmdCompile = button("cmdCompile", 1027, QStringLiteral("&Compile"));
    cmdStop = button("cmdStop", core::msg::kCompileStopButton, QStringLiteral("&Stop"));
    cmdStop->setEnabled(false);
    cmdClose = button("cmdClose", core::msg::kCompileCloseButton, QStringLiteral("C&lose"));

    auto *top = new QHBoxLayout;
    top->addWidget(lblCommandLine);
    top->addWidget(txtCommandLine, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdCompile);
    buttons->addWidget(cmdStop);
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lblOutput);
    layout->addWidget(lstOutput, 3);
    layout->addWidget(lblMessages);
    layout->addWidget(lstMessages, 1);
    layout->addWidget(lblEnd);
    layout->addWidget(lblNote);
    layout->addLayout(buttons);

    m_follow = new QTimer(this);
    m_follow->setSingleShot(true);
    connect(m_follow, &QTimer::timeout, this, &frmCompile::follow);
    connect(cmdCompile, &QPushButton::clicked, this, &frmCompile::cmdCompile_Click);
    connect(cmdStop, &QPushButton::clicked, this, &frmCompile::cmdStop_Click);
    // Closing only hides it: a compile goes on, and the next one (or the
    // main window's menu) shows it again.
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::hide);
    connect(lstMessages, &QTreeView::activated, this,
            [this](const QModelIndex &index) { openNumbered(m_messages->numberAt(index.row())); });
    connect(lstOutput, &QListView::activated, this,
            [this](const QModelIndex &index) { openNumbered(m_model->row(index.row()).message); });
    // The line of the message chosen in the list is chosen in the output.
    connect(lstMessages->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                const core::CompilerMessage *m = current.isValid() ? m_messages->messageAt(current.row()) : nullptr;
                if (!m)
                    return;
                // Its first line, or its last where the first has gone.
                int row = m_model->rowOfLine(m->outputLine);
                if (row < 0)
                    row = m_model->rowOfLine(m->lastOutputLine);
                if (row < 0)
                    return;
                const QModelIndex line = m_model->index(row);
                lstOutput->selectionModel()->setCurrentIndex(line, QItemSelectionModel::ClearAndSelect);
                lstOutput->scrollTo(line, QAbstractItemView::PositionAtCenter);
            });
    const std::pair<QKeySequence, std::function<void()>> keys[] = {
        {QKeySequence(Qt::Key_Escape), [this] { hide(); }},
        {QKeySequence(Qt::Key_F5), [this] { cmdCompile_Click(); }},
        {QKeySequence(Qt::Key_F8), [this] { goToMessage(1); }},
        {QKeySequence(Qt::SHIFT | Qt::Key_F8), [this] { goToMessage(-1); }},
    };
    for (const auto &[key, action] : keys) {
        auto *shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, action);
    }

    ui::LocalizeForm(this);
    // The localisation gives every control the window's font; the output
    // keeps a fixed-width one, so that javac's caret line points at its
    // column.
    lstOutput->setFont(fixedWidthFont());
    lblNote->hide();
}

frmCompile::~frmCompile() = default;

bool frmCompile::start(const platform::SystemCommand &command, const QString &logPath, const QString &kitFolder,
                       const QString &compiledPackage)
{
    m_follow->stop();
    m_log.close();
    m_model->clear();
    m_output = std::make_unique<core::CompileOutput>(kKeptLines);
    m_messages->reset(m_output.get(), kitFolder);
    m_end.reset();
    m_allEnded = false;
    m_stopRequested = false;
    m_piped = false;
    m_endText.clear();
    m_notes.clear();
    showNotes();
    m_compiledPackage = compiledPackage;
    setWindowTitle(compiledPackage.isEmpty() ? core::message(core::msg::kCompileTitle)
                                             : core::message(core::msg::kCompileTitleOfPackage).arg(compiledPackage));
    // The words as they were started, which on Linux are not the kit's
    // text of the line.
    txtCommandLine->setText(command.line);
    txtCommandLine->setCursorPosition(0);

    platform::OutputFile output;
    m_process = platform::startWithOutputFile(command, logPath, output);
    if (!output.made) {
        // The kit folder takes no new file: the compiler still writes its
        // output to a file of its own, in the temporary folder.
        m_process = platform::startWithOutputFile(command, temporaryLog(kitFolder), output);
    }
    if (!output.made) {
        // Nowhere takes one: the output comes to this window only. The
        // compiler is still tried.
        m_process = platform::startWithOutputPipe(command);
        m_piped = true;
        setNote(Note::Log, core::message(core::msg::kCompileNoLog).arg(platform::systemPath(kitFolder)));
    } else if (QDir::cleanPath(platform::nativePath(output.path)) != QDir::cleanPath(platform::nativePath(logPath))) {
        setNote(Note::Log, core::message(core::msg::kCompileLogNotWritten)
                               .arg(platform::systemPath(kitFolder), platform::systemPath(output.path)));
    }
    m_logPath = platform::systemPath(output.path);
    if (!m_process) {
        finishCompile(core::CompileEnd{core::CompileEnd::How::NotStarted, {}, 0, 0});
        return false;
    }
    if (!m_piped) {
        m_log.setFileName(platform::nativePath(output.path));
        m_log.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    cmdStop->setEnabled(true);
    cmdCompile->setEnabled(false);
    // The output has the eye (and the keys), not the line's field.
    lstOutput->setFocus();
    lblEnd->setText(core::message(core::msg::kCompileRunning));
    m_follow->start(0);
    return true;
}

void frmCompile::bringToFront()
{
    if (!m_placed && parentWidget()) {
        m_placed = true;
        ui::placeBesideOwner(this, parentWidget());
    }
    show();
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void frmCompile::setNote(Note kind, const QString &text)
{
    const auto at = std::find_if(m_notes.begin(), m_notes.end(), [kind](const auto &note) { return note.first == kind; });
    if (at != m_notes.end() && at->second == text)
        return;
    if (at != m_notes.end())
        m_notes.erase(at);
    if (!text.isEmpty())
        m_notes.append({kind, text});
    showNotes();
}

void frmCompile::showNotes()
{
    QStringList texts;
    for (const auto &note : m_notes)
        texts << note.second;
    lblNote->setText(texts.join(QLatin1Char('\n')));
    lblNote->setVisible(!texts.isEmpty());
}

QStringList frmCompile::shownLines() const
{
    QStringList lines;
    for (int i = 0; i < m_model->rowCount({}); ++i)
        lines << m_model->row(i).text;
    return lines;
}

const core::CompilerMessage *frmCompile::messageOfLine(int row) const
{
    return m_output->message(m_model->row(row).message);
}

void frmCompile::cmdCompile_Click()
{
    if (!isRunning() && m_compileAgain)
        m_compileAgain(m_compiledPackage);
}

void frmCompile::cmdStop_Click()
{
    if (!m_process)
        return;
    // Once all it started has ended there is nothing to stop: the end line
    // says how it ended, not that it was stopped.
    const bool compilerRuns = !m_process->poll();
    if (!compilerRuns && !m_process->anythingRunning())
        return;
    if (compilerRuns)
        m_stopRequested = true;
    else
        setNote(Note::Stopped, core::message(core::msg::kCompileLeftoversStopped));
    m_process->stop();
    m_follow->start(0);
}

void frmCompile::follow()
{
    if (!m_process)
        return;
    QElapsedTimer slice;
    slice.start();
    bool caughtUp = false;
    while (!caughtUp && slice.elapsed() < kSliceMs) {
        const QByteArray piece =
            m_piped ? m_process->readOutput(kPiece) : (m_log.isOpen() ? m_log.read(kPiece) : QByteArray());
        caughtUp = piece.size() < kPiece;
        if (!piece.isEmpty())
            showLines(m_output->take(piece));
    }
    if (!caughtUp) {
        if (!m_allEnded)
            lookForTheEnd();
        m_follow->start(m_allEnded ? 0 : kPauseMs);
        return;
    }
    // Everything written so far is read. Once all has ended, one more read
    // takes what was written just before; after that there is no more.
    if (m_allEnded) {
        showLines(m_output->finish());
        finishCompile(core::CompileEnd{m_stopRequested ? core::CompileEnd::How::Stopped : core::CompileEnd::How::Ended,
                                       *m_end, m_output->errors(), m_output->warnings()});
        return;
    }
    lookForTheEnd();
    m_follow->start(m_allEnded ? 0 : kIdleMs);
}

void frmCompile::lookForTheEnd()
{
    if (!m_end)
        m_end = m_process->poll();
    if (!m_end)
        return;
    // The compile runs on while anything the compiler started runs (and
    // may still write).
    m_allEnded = !m_process->anythingRunning();
    if (!m_allEnded && !m_stopRequested)
        setNote(Note::LeftRunning, core::message(core::msg::kCompileLeftRunning).arg(core::processEndText(*m_end)));
}

void frmCompile::showLines(const QList<core::OutputLine> &lines)
{
    if (lines.isEmpty())
        return;
    std::vector<ui::CompileOutputModel::Row> rows;
    rows.reserve(size_t(lines.size()));
    for (const core::OutputLine &line : lines)
        rows.push_back({line.text, line.severity, line.message});
    QScrollBar *bar = lstOutput->verticalScrollBar();
    const bool atEnd = bar->value() >= bar->maximum();
    if (m_model->append(std::move(rows))) {
        setNote(Note::LinesDropped, m_piped ? core::message(core::msg::kCompileLinesLost).arg(kKeptLines)
                                            : core::message(core::msg::kCompileLinesDropped).arg(kKeptLines).arg(m_logPath));
    }
    // The list holds what the output holds; a narrow file column cuts the
    // folders, never a name.
    const int added = m_messages->sync();
    int nameWidth = lstMessages->header()->sectionSize(0);
    const QFontMetrics metrics(lstMessages->font());
    const int icon = lstMessages->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, lstMessages);
    for (int row = added; row < m_messages->rowCount({}); ++row) {
        const QString file = m_messages->messageAt(row)->file;
        const QString name = file.mid(lastSeparator(file) + 1);
        nameWidth = std::max(nameWidth, metrics.horizontalAdvance(name) + icon + 3 * metrics.averageCharWidth());
    }
    lstMessages->header()->resizeSection(0, std::min(nameWidth, std::max(lstMessages->viewport()->width() / 2,
                                                                         lstMessages->header()->sectionSize(0))));
    if (m_output->firstKept() > 0)
        setNote(Note::MessagesDropped, core::message(core::msg::kCompileMessagesDropped).arg(m_output->firstKept()));
    if (atEnd)
        lstOutput->scrollToBottom();
}

void frmCompile::finishCompile(const core::CompileEnd &end)
{
    m_follow->stop();
    m_process.reset();
    m_log.close();
    cmdStop->setEnabled(false);
    cmdCompile->setEnabled(true);
    // What belonged to the running compile goes with it.
    setNote(Note::StillRunning, QString());
    setNote(Note::LeftRunning, QString());
    m_endText = core::compileEndText(end);
    lblEnd->setText(m_endText);
    // The first error, ready for Enter.
    for (int row = 0; row < m_messages->rowCount({}); ++row) {
        if (m_messages->messageAt(row)->severity == core::Severity::Error) {
            selectMessage(row);
            break;
        }
    }
    emit ended(m_endText);
}

void frmCompile::goToMessage(int step)
{
    const int rows = m_messages->rowCount({});
    if (rows == 0)
        return;
    const QModelIndex current = lstMessages->currentIndex();
    selectMessage(current.isValid() ? std::clamp(current.row() + step, 0, rows - 1) : (step > 0 ? 0 : rows - 1));
    // Enter opens it from either view.
    if (focusWidget() != lstOutput && focusWidget() != lstMessages)
        lstMessages->setFocus();
}

void frmCompile::selectMessage(int row)
{
    const QModelIndex index = m_messages->index(row, 0);
    lstMessages->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    lstMessages->scrollTo(index);
}

void frmCompile::openNumbered(qint64 number)
{
    const core::CompilerMessage *message = m_output->message(number);
    if (!message || !m_openMessage)
        return;
    setNote(Note::Opened, m_openMessage(*message, m_compiledPackage));
}
