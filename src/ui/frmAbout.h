#pragma once
#include "core/SysInfo.h"
#include "ui/Twips.h"

#include <QDialog>

#include <cstdint>

class QFrame;
class QLabel;
class QPushButton;

// The About box: title, version, description, disclaimer, OK and the
// system-information button. Its texts are rebuilt at each load.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);
    ~frmAbout() override;

    // Restores the designed captions, then localises them and appends the
    // version and the description lines.
    void Form_Load();
    bool isLoaded() const { return m_loaded; }
    // Closes the box if it is open; the next opening loads it again.
    void unload();

    void StartSysInfo();
    bool GetKeyValue(std::uint32_t root, const QString &keyPath, const QString &valueName,
                     QString &value);

    // The registry, file test and process start used by StartSysInfo.
    void setSysInfoAccess(const core::SysInfoAccess &access);

    // Esc and the close button press OK.
    void reject() override;

    // Controls, named as the window's users know them.
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSysInfo = nullptr;
    QLabel *picIcon = nullptr;
    QLabel *lblDisclaimer = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblDescription = nullptr;
    QFrame *Line1_1 = nullptr;
    QFrame *Line1_0 = nullptr;

private:
    void cmdOK_Click();
    void cmdSysInfo_Click();
    int px(int twips) const;
    // Places the controls as designed, with the room their texts need.
    void layOut();

    core::SysInfoAccess m_access;
    ui::DesignedLayout m_layout;
    bool m_loaded = false;
};
