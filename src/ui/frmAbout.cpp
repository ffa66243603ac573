#include "ui/frmAbout.h"
#include "Version.h"

#include "core/StringTable.h"
#include "ui/LocalizeForm.h"
#include "ui/MessageBoxes.h"
#include "ui/Twips.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace {

constexpr int kVersionMajor = TAVO_VERSION_MAJOR;
constexpr int kVersionMinor = TAVO_VERSION_MINOR;
constexpr int kVersionRevision = TAVO_VERSION_PATCH;

const char *const kAppTitle = "TAVO_Starter";

// Designed captions: each load starts again from these.
const char *const kFormCaption = "ﾊﾞｰｼﾞｮﾝ情報 Project1";
const char *const kTitleCaption = "ｱﾌﾟﾘｹｰｼｮﾝ ﾀｲﾄﾙ";
const char *const kVersionCaption = "バージョン";
const char *const kDescriptionCaption = "ｱﾌﾟﾘｹｰｼｮﾝの説明";
const char *const kDisclaimerCaption = "警告: ...";
const char *const kOKCaption = "OK";
const char *const kSysInfoCaption = "ｼｽﾃﾑ情報(&S)...";

// The description's closing lines, each indented by three blanks.
const char *const kOrganizationLine = "   Organization: TAVO kit developers";
const char *const kAuthorLine = "   Author: TAVO Starter maintainers";
const char *const kContactLine = "   E-mail: tavo-starter@example.org";

// The box's own 32 x 32 icon: a function block with an event input and a
// data output, drawn rather than shipped.
QPixmap aboutIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(0, 96, 160));
    p.drawRect(7, 2, 17, 11);   // event head
    p.setBrush(QColor(0, 128, 128));
    p.drawRect(9, 13, 13, 16);  // data body
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(0, 7, 7, 7);
    p.drawLine(24, 21, 31, 21);
    return pixmap;
}

QString fromUtf8(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent, ui::fixedDialogFlags())
    , m_access(core::systemSysInfoAccess())
    , m_layout(5865, 3630)
{
    setObjectName(QStringLiteral("frmAbout"));
    setProperty(ui::kTagProperty, QStringLiteral("1014"));
    setModal(true);

    auto place = [this](QWidget *w, int left, int top, int width, int height) {
        m_layout.add(w, {left, top, width, height});
    };
    auto label = [this, &place](const char *name, const char *tag, int l, int t, int w, int h) {
        auto *lbl = new QLabel(this);
        lbl->setObjectName(QLatin1String(name));
        lbl->setProperty(ui::kTagProperty, QLatin1String(tag));
        lbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        lbl->setWordWrap(true);
        place(lbl, l, t, w, h);
        return lbl;
    };
    auto button = [this, &place](const char *name, const char *tag, int l, int t, int w, int h) {
        auto *b = new QPushButton(this);
        b->setObjectName(QLatin1String(name));
        b->setProperty(ui::kTagProperty, QLatin1String(tag));
        place(b, l, t, w, h);
        return b;
    };
    auto line = [this](int index, const QColor &colour, int x1, int x2, int y, int thickness) {
        auto *f = new QFrame(this);
        f->setObjectName(QStringLiteral("Line1"));
        f->setProperty("Index", index);
        f->setProperty(ui::kControlTypeProperty, QStringLiteral("Line"));
        f->setFrameShape(QFrame::NoFrame);
        f->setAutoFillBackground(true);
        QPalette pal = f->palette();
        pal.setColor(QPalette::Window, colour);
        f->setPalette(pal);
        m_layout.add(f, {x1, y, x2 - x1, 0}, thickness);
        return f;
    };

    // Created in tab order, so the controls' order is the tab order.
    cmdOK = button("cmdOK", "1016", 4245, 2625, 1467, 345);
    cmdOK->setDefault(true);
    cmdSysInfo = button("cmdSysInfo", "1015", 4260, 3075, 1452, 345);

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setProperty(ui::kControlTypeProperty, QStringLiteral("PictureBox"));
    picIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picIcon->setPixmap(aboutIcon());
    // A picture box is a tab stop of its own.
    picIcon->setFocusPolicy(Qt::TabFocus);
    place(picIcon, 240, 240, 540, 540);

    lblDisclaimer = label("lblDisclaimer", "1017", 255, 2625, 3870, 825);
    lblVersion = label("lblVersion", "1018", 1050, 780, 4092, 225);
    lblTitle = label("lblTitle", "1019", 1050, 240, 4092, 480);
    lblDescription = label("lblDescription", "1020", 1080, 1080, 4095, 1170);

    // An etched separator: a grey line over a white one, 2 wide.
    Line1_1 = line(1, QColor(128, 128, 128), 225, 5657, 2430, 1);
    Line1_0 = line(0, Qt::white, 240, 5657, 2445, 2);

    setTabOrder(cmdOK, cmdSysInfo);
    setTabOrder(cmdSysInfo, picIcon);
    layOut();

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

frmAbout::~frmAbout() = default;

int frmAbout::px(int twips) const
{
    return ui::twipsToPixels(this, twips);
}

void frmAbout::layOut()
{
    // Each load starts again from the designed places.
    m_layout.reset();
    // A label whose lines need more height than designed gets it, top to
    // bottom: what lies below moves down and the box grows by as much.
    for (QLabel *label : {lblTitle, lblVersion, lblDescription, lblDisclaimer}) {
        ui::TwipsRect &r = m_layout.box(label);
        const int room = ui::pixelsToTwips(this, ui::labelTextSize(label, px(r.width)).height()) - r.height;
        m_layout.insertRoom(Qt::Vertical, r.top + r.height, room);
        r.height += qMax(room, 0);
    }
    m_layout.apply(this);
}

void frmAbout::Form_Load()
{
    setWindowTitle(fromUtf8(kFormCaption));
    lblTitle->setText(fromUtf8(kTitleCaption));
    lblVersion->setText(fromUtf8(kVersionCaption));
    lblDescription->setText(fromUtf8(kDescriptionCaption));
    lblDisclaimer->setText(fromUtf8(kDisclaimerCaption));
    cmdOK->setText(fromUtf8(kOKCaption));
    cmdSysInfo->setText(fromUtf8(kSysInfoCaption));

    ui::LocalizeForm(this);

    lblVersion->setText(lblVersion->text() + QString::number(kVersionMajor) + QLatin1Char('.')
                        + QString::number(kVersionMinor) + QLatin1Char('.')
                        + QString::number(kVersionRevision));
    lblTitle->setText(QLatin1String(kAppTitle));
    const QString crlf = QStringLiteral("\r\n");
    lblDescription->setText(lblDescription->text() + crlf + crlf + fromUtf8(kOrganizationLine)
                            + crlf + crlf + fromUtf8(kAuthorLine) + crlf
                            + fromUtf8(kContactLine));
    layOut();

    // Centred on the owner at every load, even after the user moved it.
    setAttribute(Qt::WA_Moved, false);
    cmdOK->setFocus();
    m_loaded = true;
}

void frmAbout::unload()
{
    m_loaded = false;
    if (isVisible())
        done(QDialog::Accepted);
}

void frmAbout::reject()
{
    cmdOK->click();
}

void frmAbout::cmdOK_Click()
{
    unload();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::setSysInfoAccess(const core::SysInfoAccess &access)
{
    m_access = access;
}

bool frmAbout::GetKeyValue(std::uint32_t root, const QString &keyPath, const QString &valueName,
                           QString &value)
{
    return m_access.getKeyValue(root, keyPath, valueName, value);
}

void frmAbout::StartSysInfo()
{
    core::SysInfoAccess access = m_access;
    // Reads go through GetKeyValue, the box's one way into the registry.
    access.getKeyValue = [this](std::uint32_t root, const QString &key, const QString &name,
                                QString &value) { return GetKeyValue(root, key, name, value); };
    if (core::startSysInfo(access))
        return;
    ui::showMessage(this, QLatin1String(kAppTitle), core::message(core::msg::kSysInfoUnavailable));
}
