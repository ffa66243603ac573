#pragma once
#include "core/Kit.h"
#include "core/Settings.h"
#include "core/SettingsFile.h"
#include "ui/Twips.h"

#include <QDialog>
#include <QList>
#include <QRect>

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

// The Options dialog. Its nine text fields are the live settings; creating
// it fills them from the defaults and then from the settings file.
class frmOptions : public QDialog
{
    Q_OBJECT
public:
    explicit frmOptions(const core::Kit &kit, QWidget *parent = nullptr);

    // The field that holds a setting, or null for an unknown key.
    QLineEdit *field(const QString &key) const;
    // The settings as the fields hold them, and the fields set from them.
    core::Settings settings() const;
    void setSettings(const core::Settings &settings);

    QString GetSettingsPath() const;
    void LoadSettings();
    // False when the file could not be written (it is then as it was).
    bool SaveSettings();
    // What the last LoadSettings found in the file.
    core::LoadOutcome loadOutcome() const { return m_loadOutcome; }

    // Focus order number of a control, as designed.
    static constexpr const char *kTabIndexProperty = "TabIndex";

    QTabWidget *SSTab = nullptr;
    QLabel *lblJREpath = nullptr;
    QLineEdit *txtJREpath = nullptr;
    QLabel *lblLibpath = nullptr;
    QLineEdit *txtLibpath = nullptr;
    QLabel *lblDT_package = nullptr;
    QLineEdit *txtDT_package = nullptr;
    QLabel *lblCompiler = nullptr;
    QLineEdit *txtCompiler = nullptr;
    QLabel *lblCP = nullptr;
    QLineEdit *txtCP = nullptr;
    QLabel *lblClassDirectory = nullptr;
    QLineEdit *txtClassDirectory = nullptr;
    QLabel *lblJavapath = nullptr;
    QLineEdit *txtJavapath = nullptr;
    QLabel *lblOrganization = nullptr;
    QLineEdit *txtOrganization = nullptr;
    QLabel *lblAuthor = nullptr;
    QLineEdit *txtAuthor = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdApply = nullptr;

signals:
    // OK or Apply could not write the settings file; the edits are still
    // in the fields.
    void settingsNotSaved();
    void settingsSaved();

private:
    void buildControls();
    void setTabOrderByIndex();
    // Shows the controls of the selected tab only.
    void showTabControls(int tab);
    int px(int twips) const;
    // Places the controls as designed, with the room their captions need.
    void layOut();
    bool isShownOnItsTab(const QWidget *widget) const;

    // False when the user keeps a file that could not be read.
    bool mayReplaceFile();
    void cmdOK_Click();
    void cmdApply_Click();
    void cmdCancel_Click();

    struct OnTab
    {
        QWidget *widget;
        int tab;
        bool shown; // as designed; the dt-packages row never is
    };

    // The tab control's corner, from which the controls on it are designed.
    static constexpr int kTabLeft = 120;
    static constexpr int kTabTop = 120;

    core::Kit m_kit;
    QHash<QString, QLineEdit *> m_fields;
    QList<OnTab> m_onTabs;
    // Every control with its designed place in the dialog.
    ui::DesignedLayout m_layout;
    core::LoadOutcome m_loadOutcome = core::LoadOutcome::Missing;
};
