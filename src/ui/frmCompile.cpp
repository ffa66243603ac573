#include "ui/frmCompile.h"
#include "core/StringTable.h"
#include "platform/NativePath.h"
#include "ui/LocalizeForm.h"
#include "ui/Twips.h"
#include "ui/frmCheckKit.h"

#include <QAbstractListModel>
#include <QAction>
#include <QApplication>
#include <QClipboard>
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
#include <QTemporaryFile>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <deque>

namespace ui {

// The last lines of output, each with its mark and the message it carries
// (an index into the compile's messages, or -1). Lines go in at the end in
// batches and leave at the front, so a long output costs the view no more
// than a short one.
class CompileOutputModel : public QAbstractListModel
{
public:
    struct Row {
        QString text;
        core::Severity severity = core::Severity::None;
        int message = -1;
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
            if (row.severity == core::Severity::Error)
                return frmCheckKit::verdictIcon(core::Verdict::Problem);
            if (row.severity == core::Severity::Warning)
                return frmCheckKit::verdictIcon(core::Verdict::Warning);
            return {};
        default:
            return {};
        }
    }

    // Appends a batch; returns whether older lines had to go.
    bool append(std::vector<Row> rows)
    {
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
        endResetModel();
    }

    const Row &row(int index) const { return m_rows[size_t(index)]; }

private:
    int m_kept;
    std::deque<Row> m_rows;
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

} // namespace

frmCompile::frmCompile(QWidget *owner, OpenMessage openMessage)
    : QWidget(owner, Qt::Window), m_openMessage(std::move(openMessage)), m_output(std::make_unique<core::CompileOutput>())
{
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

    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    lblOutput = label("lblOutput", core::msg::kCompileOutputLabel, QStringLiteral("Output:"));
    m_model = new ui::CompileOutputModel(kKeptLines, this);
    lstOutput = new QListView(this);
    lstOutput->setObjectName(QStringLiteral("lstOutput"));
    lstOutput->setModel(m_model);
    lstOutput->setUniformItemSizes(true);
    lstOutput->setFont(fixed);
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
    lstMessages = new QTreeWidget(this);
    lstMessages->setObjectName(QStringLiteral("lstMessages"));
    lstMessages->setColumnCount(3);
    lstMessages->setRootIsDecorated(false);
    lstMessages->setUniformRowHeights(true);
    lstMessages->setWordWrap(false);
    QTreeWidgetItem *header = lstMessages->headerItem();
    const QStringList captions{QStringLiteral("File"), QStringLiteral("Line"), QStringLiteral("Message")};
    for (int column = 0; column < 3; ++column) {
        header->setText(column, captions[column]);
        header->setData(column, Qt::UserRole, QString::number(core::msg::kCompileColumnFile + column));
    }
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

    cmdStop = new QPushButton(QStringLiteral("&Stop"), this);
    cmdStop->setObjectName(QStringLiteral("cmdStop"));
    cmdStop->setProperty(ui::kTagProperty, QString::number(core::msg::kCompileStopButton));
    cmdStop->setEnabled(false);
    cmdStop->setAutoDefault(false);
    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setProperty(ui::kTagProperty, QString::number(core::msg::kCompileCloseButton));
    cmdClose->setAutoDefault(false);

    auto *top = new QHBoxLayout;
    top->addWidget(lblCommandLine);
    top->addWidget(txtCommandLine, 1);
    auto *buttons = new QHBoxLayout;
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
    connect(cmdStop, &QPushButton::clicked, this, &frmCompile::cmdStop_Click);
    // Closing only hides it: a compile goes on, and the next one shows it
    // again.
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::hide);
    connect(lstMessages, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { openMessageAt(lstMessages->indexOfTopLevelItem(item)); });
    connect(lstOutput, &QListView::activated, this,
            [this](const QModelIndex &index) { openMessageAt(m_model->row(index.row()).message); });

    ui::LocalizeForm(this);
    lblNote->hide();
}

frmCompile::~frmCompile()
{
    // A compile still running is left to run: the process is forgotten, not
    // ended, and keeps writing its file.
    if (!m_process)
        dropTemporaryLog();
}

bool frmCompile::start(const platform::SystemCommand &command, const QString &logPath, const QString &kitFolder,
                       const QString &compiledPackage)
{
    dropTemporaryLog();
    m_follow->stop();
    m_log.close();
    m_model->clear();
    lstMessages->clear();
    m_output = std::make_unique<core::CompileOutput>();
    m_end.reset();
    m_stopRequested = false;
    m_dropNoted = false;
    m_shownMessages = 0;
    m_endText.clear();
    m_notes.clear();
    lblNote->clear();
    lblNote->hide();
    m_compiledPackage = compiledPackage;
    // The words as they were started, which on Linux are not the kit's
    // text of the line.
    txtCommandLine->setText(command.line);
    txtCommandLine->setCursorPosition(0);

    bool made = false;
    m_logPath = logPath;
    m_process = platform::startWithOutputFile(command, logPath, made);
    if (!made) {
        // The kit folder takes no new file (or compile.log may not be
        // written): the compiler still writes its output to a file of its
        // own, one in the temporary folder.
        QTemporaryFile temporary(QDir::tempPath() + QStringLiteral("/TAVO_Starter-compile-XXXXXX.log"));
        temporary.setAutoRemove(false);
        if (temporary.open()) {
            m_logPath = temporary.fileName();
            m_logIsTemporary = true;
            temporary.close();
            m_process = platform::startWithOutputFile(command, m_logPath, made);
        }
        addNote(core::message(core::msg::kCompileLogNotWritten)
                    .arg(QDir::toNativeSeparators(platform::nativePath(kitFolder)),
                         QDir::toNativeSeparators(m_logPath)));
    }
    if (!m_process) {
        finishCompile(core::CompileEnd{core::CompileEnd::How::NotStarted, {}, 0, 0});
        return false;
    }
    m_log.setFileName(platform::nativePath(m_logPath));
    m_log.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    cmdStop->setEnabled(true);
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
        // Beside the main window, on its right where the screen has room,
        // else on its left, else where the screen begins.
        const QRect owner = parentWidget()->frameGeometry();
        const QScreen *screen = parentWidget()->screen();
        const QRect room = screen ? screen->availableGeometry() : QRect(owner.topLeft(), size());
        int x = owner.right() + 1;
        if (x + width() > room.right())
            x = owner.left() - width() - 1;
        x = std::max(x, room.left());
        move(x, std::max(owner.top(), room.top()));
    }
    show();
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void frmCompile::addNote(const QString &note)
{
    if (!m_notes.isEmpty() && m_notes.last() == note)
        return;
    m_notes << note;
    lblNote->setText(m_notes.join(QLatin1Char('\n')));
    lblNote->show();
}

QString frmCompile::endText() const
{
    return m_endText;
}

QStringList frmCompile::shownLines() const
{
    QStringList lines;
    for (int i = 0; i < m_model->rowCount({}); ++i)
        lines << m_model->row(i).text;
    return lines;
}

void frmCompile::cmdStop_Click()
{
    if (!m_process)
        return;
    m_stopRequested = true;
    m_process->stop();
    m_follow->start(0);
}

void frmCompile::follow()
{
    if (!m_process)
        return;
    QElapsedTimer slice;
    slice.start();
    bool caughtUp = !m_log.isOpen();
    while (!caughtUp && slice.elapsed() < kSliceMs) {
        const QByteArray piece = m_log.read(kPiece);
        caughtUp = piece.size() < kPiece;
        if (!piece.isEmpty())
            showLines(m_output->take(piece));
    }
    showNewMessages();
    if (!caughtUp) {
        if (!m_end)
            m_end = m_process->poll();
        m_follow->start(m_end ? 0 : kPauseMs);
        return;
    }
    // Everything written so far is read. Once the compiler has ended, one
    // more read takes what it wrote just before; after that there is no more.
    if (m_end) {
        showLines(m_output->finish());
        showNewMessages();
        finishCompile(core::CompileEnd{m_stopRequested ? core::CompileEnd::How::Stopped : core::CompileEnd::How::Ended,
                                       *m_end, m_output->errors(), m_output->warnings()});
        return;
    }
    m_end = m_process->poll();
    m_follow->start(m_end ? 0 : kIdleMs);
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
    if (m_model->append(std::move(rows)) && !m_dropNoted) {
        m_dropNoted = true;
        addNote(core::message(core::msg::kCompileLinesDropped)
                    .arg(kKeptLines)
                    .arg(QDir::toNativeSeparators(platform::nativePath(m_logPath))));
    }
    if (atEnd)
        lstOutput->scrollToBottom();
}

void frmCompile::showNewMessages()
{
    const QList<core::CompilerMessage> &messages = m_output->messages();
    if (m_shownMessages >= messages.size())
        return;
    QList<QTreeWidgetItem *> items;
    for (; m_shownMessages < messages.size(); ++m_shownMessages) {
        const core::CompilerMessage &m = messages[m_shownMessages];
        const bool error = m.severity == core::Severity::Error;
        auto *item = new QTreeWidgetItem(
            {m.file, m.line > 0 ? QString::number(m.line) : QString(), m.text});
        item->setIcon(0, frmCheckKit::verdictIcon(error ? core::Verdict::Problem : core::Verdict::Warning));
        item->setToolTip(0, core::message(error ? core::msg::kCompileError : core::msg::kCompileWarning)
                                + QStringLiteral(": ") + m.file);
        item->setToolTip(2, m.text);
        items << item;
    }
    lstMessages->addTopLevelItems(items);
}

void frmCompile::finishCompile(const core::CompileEnd &end)
{
    m_follow->stop();
    m_process.reset();
    m_log.close();
    cmdStop->setEnabled(false);
    m_endText = core::compileEndText(end);
    lblEnd->setText(m_endText);
    emit ended(m_endText);
}

void frmCompile::openMessageAt(int index)
{
    const QList<core::CompilerMessage> &messages = m_output->messages();
    if (index < 0 || index >= messages.size() || !m_openMessage)
        return;
    const QString trouble = m_openMessage(messages[index], m_compiledPackage);
    if (!trouble.isEmpty())
        addNote(trouble);
}

void frmCompile::dropTemporaryLog()
{
    if (m_logIsTemporary)
        QFile::remove(platform::nativePath(m_logPath));
    m_logIsTemporary = false;
}
