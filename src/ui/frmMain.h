#pragma once
#include "ui/AboutBox.h"
#include "ui/MainContext.h"
#include "ui/MainLayout.h"
#include "ui/OptionsWindow.h"

#include <QHash>
#include <QMainWindow>
#include <QSettings>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QStatusBar;
class QToolButton;
class QPushButton;

// Opens the per-user store that keeps the window placement.
using PlacementStoreFactory = std::function<std::unique_ptr<QSettings>()>;
std::unique_ptr<QSettings> defaultPlacementStore();

class frmMain : public QMainWindow, public MainContext
{
    Q_OBJECT
public:
    // Builds the window and runs its load sequence (captions, placement,
    // extension table, workspace file).
    explicit frmMain(const QString &appPath,
                     PlacementStoreFactory placementStore = defaultPlacementStore,
                     QWidget *parent = nullptr);
    ~frmMain() override;

    // MainContext
    const core::Kit &kit() const override { return m_kit; }
    QWidget *mainWidget() override { return this; }
    core::Workspace workspace() const override;
    void setWorkspace(const core::Workspace &workspace) override;
    core::Settings settings() override { return m_options.settings(); }
    void setSetting(const QString &key, const QString &value) override { m_options.setValue(key, value); }
    void showOptionsModeless(int tab) override;
    const QHash<QString, int> &filterIndexByExtension() const override { return m_filterIndexByExtension; }
    QString statusText() const override;
    void setStatusText(const QString &text) override;
    void setBusy(bool busy) override;

    OptionsWindow &options() { return m_options; }
    const ui::MainLayout &layoutTwips() const { return m_layout; }
    double twipsPerPixel() const;
    // The window's outer bounds, frame included, in pixels.
    QRect outerBounds() const;

    // Routines of the window.
    void SaveWorkspace();
    void LoadWorkspace();

signals:
    // One line per step of the unload sequence, for those who watch it.
    void unloadStep(const QString &step);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void buildStatusBar();
    void Form_Load();
    void Form_Resize();
    void Form_Unload();
    void applyLayout();
    // The window system reports the frame around the window whenever it gets
    // round to it, on a busy machine long after the window is shown; the
    // stored outer size is reached at the first event that finds it known.
    void reachStoredOuterSize();
    void updateClock();
    // The status panel holds its text whole, on as many lines as it needs.
    void fitStatusText();
    // From the end of the workspace load on, any change to the list is the
    // user's.
    void watchListChanges();
    // A workspace file that was there but gave no entry: said once the
    // window shows; the first change to the list asks whether it may be
    // replaced; kept at exit unless the answer was Yes.
    void sayWorkspaceFileUnread();
    void askToReplaceUnreadWorkspaceFile();
    bool keepsUnreadWorkspaceFile() const;
    QString workspaceFileName() const;

    // The list's key table: what a key does, by its code and modifier sum.
    void lstsrcpath_KeyDown(int keyCode, int shift);
    void SelectAllPaths();
    void cmdUp_Click();
    void cmdDwn_Click();
    void cmdDelete_Click();
    void mnuHelpAbout_Click();
    void mnuToolsOptions_Click();
    void mnuToolsCheckKit_Click();

    core::Kit m_kit;
    PlacementStoreFactory m_placementStore;
    QString m_editFileName;
    QHash<QString, int> m_filterIndexByExtension;
    ui::MainLayout m_layout;
    OptionsWindow m_options;
    ui::AboutBoxHolder m_about;
    bool m_unloaded = false;
    // The workspace file was there at start but gave no entry.
    bool m_workspaceFileUnread = false;
    bool m_workspaceFileUnreadSaid = false;
    bool m_replaceAsked = false;
    bool m_replaceUnreadFile = false;
    bool m_listWatched = false;
    bool m_loadingWorkspace = false;
    QString m_statusText;
    // Stored outer size (twips) still to reach once the frame is known.
    std::optional<QSize> m_pendingOuterSize;

public:
    // Controls, named as the window's users know them.
    QWidget *central = nullptr;
    QToolButton *cmdEdit = nullptr;
    QToolButton *cmdCompile = nullptr;
    QStatusBar *sbStatusBar = nullptr;
    QLabel *sbPanelText = nullptr;
    QLabel *sbPanelDate = nullptr;
    QLabel *sbPanelTime = nullptr;
    QPushButton *cmdUp = nullptr;
    QPushButton *cmdDwn = nullptr;
    QListWidget *lstsrcpath = nullptr;
    QPushButton *cmdEditSrcpath = nullptr;
    QPushButton *cmdNewDir = nullptr;
    QPushButton *cmdDelete = nullptr;

    QMenu *mnuFile = nullptr;
    QAction *mnuLoadEditFile = nullptr;
    QAction *mnuLoadCompile = nullptr;
    QAction *mnuFileBar1 = nullptr;
    QAction *mnuSaveEdit = nullptr;
    QAction *mnuSaveCompile = nullptr;
    QAction *mnuFileBar3 = nullptr;
    QAction *mnuFileExit = nullptr;
    QMenu *mnuTools = nullptr;
    QAction *mnuToolsOptions = nullptr;
    QAction *mnuToolsCheckKit = nullptr;
    QAction *mnuToolsCompileResults = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuBlockEditorHelp = nullptr;
    QAction *mnuFileBar2 = nullptr;
    QAction *mnuHelpAbout = nullptr;
};
