#include "ui/frmOptions.h"
#include "core/StringTable.h"
#include "platform/NativePath.h"
#include "ui/LocalizeForm.h"
#include "ui/MessageBoxes.h"
#include "ui/Twips.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <algorithm>
#include <limits>

namespace {

const QString kJREpathTip = QStringLiteral(
    "The path from the directory containing the batch file to the Java Runtime Environment (JRE) "
    "executable.");
const QString kLibpathTip = QStringLiteral(
    "A semicolon-delimited list of paths to the runtime classes such as compiled function block "
    "types, device types and resource types.");
const QString kDtPackagesTip = QStringLiteral(
    "A semicolon-delimited list of hierarchical package names below the root fb.rt package to be "
    "searched to find the appropriate runtime classes of the specified data types.");
const QString kJavapathTip = QStringLiteral(
    "The path from the directory containing the batch file to the default directory for storing "
    "generated Java source files.");
const QString kPropertiesTip = QStringLiteral("Properties used in TAVO.");

} // namespace

frmOptions::frmOptions(const core::Kit &kit, QWidget *parent)
    : QDialog(parent, ui::fixedDialogFlags()),
      m_kit(kit),
      m_layout(6270, 3240)
{
    setObjectName(QStringLiteral("frmOptions"));
    setProperty(ui::kTagProperty, QStringLiteral("1006"));
    setWindowTitle(QStringLiteral("Option"));
    buildControls();

    // Form load: captions, then the file over the defaults.
    ui::LocalizeForm(this);
    layOut();
    LoadSettings();
    SSTab->setCurrentIndex(0);
}

int frmOptions::px(int twips) const
{
    return ui::twipsToPixels(this, twips);
}

void frmOptions::layOut()
{
    m_layout.reset();
    // The labels' column ends where the fields begin. A label is as large as
    // its text; one whose text reaches the fields widens the column, which
    // moves the fields and the buttons right and grows the tab control and
    // the dialog by as much, so that the fields keep their width.
    constexpr int kFieldsLeft = kTabLeft + 1320;
    constexpr int kGap = 60;
    int room = 0;
    for (QWidget *control : m_layout.controls()) {
        auto *label = qobject_cast<QLabel *>(control);
        if (!label || !isShownOnItsTab(label))
            continue;
        ui::TwipsRect &r = m_layout.box(label);
        const QSize text = ui::labelTextSize(label, px(r.width));
        const int width = ui::pixelsToTwips(this, text.width());
        r.width = qMax(r.width, width);
        r.height = qMax(r.height, ui::pixelsToTwips(this, text.height()));
        room = qMax(room, r.left + width + kGap - kFieldsLeft);
    }
    m_layout.insertRoom(Qt::Horizontal, kFieldsLeft, room);
    m_layout.apply(this);
}

bool frmOptions::isShownOnItsTab(const QWidget *widget) const
{
    for (const OnTab &t : m_onTabs) {
        if (t.widget == widget)
            return t.shown;
    }
    return false;
}

void frmOptions::buildControls()
{
    SSTab = new QTabWidget(this);
    SSTab->setObjectName(QStringLiteral("SSTab"));
    m_layout.add(SSTab, {kTabLeft, kTabTop, 6045, 2580});
    SSTab->setProperty(kTabIndexProperty, 11);
    // The pages stay empty: the controls of a tab are the dialog's own, laid
    // over the tab control and measured from its corner, and shown while
    // their tab is selected. That keeps one flat focus order across tabs.
    SSTab->addTab(new QWidget, QStringLiteral("Editor"));
    SSTab->addTab(new QWidget, QStringLiteral("Compiler"));
    SSTab->addTab(new QWidget, QStringLiteral("Properties"));
    constexpr int editorPage = 0, compilerPage = 1, propertiesPage = 2;

    auto place = [this](QWidget *w, int tab, QRect twips) {
        m_layout.add(w, {kTabLeft + twips.x(), kTabTop + twips.y(), twips.width(), twips.height()});
        m_onTabs.append({w, tab, true});
    };
    auto label = [this, place](int tab, const char *name, const QString &text, QRect twips,
                               int tabIndex) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setProperty(kTabIndexProperty, tabIndex);
        place(l, tab, twips);
        return l;
    };
    auto field = [this, place](int tab, const char *name, const QString &key, const QString &tip,
                               QRect twips, int tabIndex) {
        auto *e = new QLineEdit(core::Settings::defaultValue(key), this);
        e->setObjectName(QString::fromLatin1(name));
        // Settings are kept verbatim, however long.
        e->setMaxLength(std::numeric_limits<int>::max());
        e->setToolTip(tip);
        e->setProperty(kTabIndexProperty, tabIndex);
        m_fields.insert(key, e);
        place(e, tab, twips);
        return e;
    };

    lblJREpath = label(editorPage, "lblJREpath", QStringLiteral("JREpath"), {240, 600, 1095, 255}, 14);
    txtJREpath = field(editorPage, "txtJREpath", core::kJREpath, kJREpathTip, {1320, 600, 4575, 270}, 5);
    lblLibpath = label(editorPage, "lblLibpath", QStringLiteral("libpath"), {240, 1080, 1095, 255}, 15);
    txtLibpath = field(editorPage, "txtLibpath", core::kLibpath, kLibpathTip, {1320, 1080, 4575, 270}, 6);
    lblDT_package = label(editorPage, "lblDT_package", QStringLiteral("dt-packages"), {240, 1560, 1095, 255}, 16);
    txtDT_package = field(editorPage, "txtDT_package", core::kDtPackages, kDtPackagesTip,
                          {1320, 1560, 4575, 270}, 7);
    // dt-packages is only carried between the file and the fields.
    for (OnTab &t : m_onTabs) {
        if (t.widget == lblDT_package || t.widget == txtDT_package)
            t.shown = false;
    }

    lblCompiler = label(compilerPage, "lblCompiler", QStringLiteral("Compiler"), {240, 600, 975, 255}, 19);
    txtCompiler = field(compilerPage, "txtCompiler", core::kCompiler, QString(), {1320, 600, 4575, 270}, 0);
    lblCP = label(compilerPage, "lblCP", QStringLiteral("CP"), {240, 1080, 975, 255}, 17);
    txtCP = field(compilerPage, "txtCP", core::kCP, QString(), {1320, 1080, 4575, 270}, 1);
    lblClassDirectory = label(compilerPage, "lblClassDirectory", QStringLiteral("*.class dir"),
                              {240, 1560, 855, 255}, 18);
    txtClassDirectory = field(compilerPage, "txtClassDirectory", core::kClassDirectory, QString(),
                              {1320, 1560, 4575, 270}, 2);
    lblJavapath = label(compilerPage, "lblJavapath", QStringLiteral("javapath"), {240, 2040, 1095, 255}, 21);
    txtJavapath = field(compilerPage, "txtJavapath", core::kJavapath, kJavapathTip,
                        {1320, 2040, 4575, 270}, 20);

    lblOrganization = label(propertiesPage, "lblOrganization", QStringLiteral("Organization"),
                            {240, 600, 1455, 255}, 13);
    txtOrganization = field(propertiesPage, "txtOrganization", core::kOrganization, kPropertiesTip,
                            {1320, 600, 4575, 270}, 3);
    lblAuthor = label(propertiesPage, "lblAuthor", QStringLiteral("Author"), {240, 1080, 975, 255}, 12);
    txtAuthor = field(propertiesPage, "txtAuthor", core::kAuthor, kPropertiesTip,
                      {1320, 1080, 4575, 270}, 4);

    auto button = [this](const char *name, const QString &caption, const char *tag, QRect twips,
                         int tabIndex) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setProperty(ui::kTagProperty, QString::fromLatin1(tag));
        b->setProperty(kTabIndexProperty, tabIndex);
        m_layout.add(b, {twips.x(), twips.y(), twips.width(), twips.height()});
        return b;
    };
    cmdOK = button("cmdOK", QStringLiteral("OK"), "1013", {2610, 2760, 1095, 375}, 8);
    cmdCancel = button("cmdCancel", QStringLiteral("Cancel"), "1012", {3840, 2760, 1095, 375}, 9);
    cmdApply = button("cmdApply", QStringLiteral("&Apply"), "1011", {5040, 2760, 1095, 375}, 10);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);
    connect(cmdApply, &QPushButton::clicked, this, &frmOptions::cmdApply_Click);

    connect(SSTab, &QTabWidget::currentChanged, this, &frmOptions::showTabControls);
    showTabControls(SSTab->currentIndex());
    setTabOrderByIndex();
}

void frmOptions::setTabOrderByIndex()
{
    QList<QWidget *> ordered;
    for (QWidget *w : findChildren<QWidget *>()) {
        // Labels never take the focus; chaining them only confuses the order.
        if (w->property(kTabIndexProperty).isValid() && (w->focusPolicy() & Qt::TabFocus))
            ordered.append(w);
    }
    std::sort(ordered.begin(), ordered.end(), [](QWidget *a, QWidget *b) {
        return a->property(kTabIndexProperty).toInt() < b->property(kTabIndexProperty).toInt();
    });
    for (int i = 1; i < ordered.size(); ++i)
        QWidget::setTabOrder(ordered.at(i - 1), ordered.at(i));
}

void frmOptions::showTabControls(int tab)
{
    for (const OnTab &t : std::as_const(m_onTabs)) {
        t.widget->setVisible(t.shown && t.tab == tab);
        t.widget->raise();
    }
}

QLineEdit *frmOptions::field(const QString &key) const
{
    return m_fields.value(key);
}

core::Settings frmOptions::settings() const
{
    core::Settings s;
    for (auto it = m_fields.cbegin(); it != m_fields.cend(); ++it)
        s.setValue(it.key(), it.value()->text());
    return s;
}

void frmOptions::setSettings(const core::Settings &settings)
{
    for (auto it = m_fields.cbegin(); it != m_fields.cend(); ++it)
        it.value()->setText(settings.value(it.key()));
}

QString frmOptions::GetSettingsPath() const
{
    return m_kit.settingsFile();
}

void frmOptions::LoadSettings()
{
    core::Settings s = settings();
    m_loadOutcome = core::readSettingsFile(GetSettingsPath(), s, [this](bool busy) {
        if (busy)
            setCursor(Qt::WaitCursor);
        else
            unsetCursor();
    });
    setSettings(s);
}

bool frmOptions::SaveSettings()
{
    if (!core::writeSettingsFile(GetSettingsPath(), settings())) {
        emit settingsNotSaved();
        return false;
    }
    m_loadOutcome = core::LoadOutcome::Xml;
    emit settingsSaved();
    return true;
}

bool frmOptions::mayReplaceFile()
{
    // The defaults shown in place of a file that could not be read must not
    // silently take its place.
    const QString path = QDir::toNativeSeparators(platform::nativePath(GetSettingsPath()));
    if (!core::keptUnread(m_loadOutcome) || !QFileInfo::exists(path))
        return true;
    return ui::askYesNo(this, QStringLiteral("TAVO_Starter"), core::message(core::msg::kSettingsReplace).arg(path));
}

void frmOptions::cmdOK_Click()
{
    // Kept: the dialog stays open with the edits.
    if (!mayReplaceFile())
        return;
    // Closing would throw the edits away: they stay for another try or
    // for Cancel.
    if (!SaveSettings())
        return;
    accept();
}

void frmOptions::cmdApply_Click()
{
    if (mayReplaceFile())
        SaveSettings();
}

void frmOptions::cmdCancel_Click()
{
    reject();
}
