#pragma once

#include "framework/CCmdTarget.h"
#include "framework/MessagePane.h"
#include "framework/qt/QtClipboard.h"

#include <QIcon>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <map>
#include <vector>

class CChildFrame;
class CMultiDocTemplate;
class CPalvaneApp;
class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;
class TablesPanel;

// The main window: the toolbar, the status bar with its message pane, the
// pane of the active document's selection and the key-lock panes, and the
// child frames in its multiple-document area. It builds one action per
// command from the command table, shared by both menu bars and the toolbar,
// and routes every command: active view, its document, the child frame, the
// application, then the main frame; with no child window active, the main
// frame and then the application.
class CMainFrame : public QMainWindow, public CCmdTarget, public MessagePane {
    Q_OBJECT

public:
    explicit CMainFrame(CPalvaneApp& app);
    ~CMainFrame() override;

    // Creates the toolbar, the status bar and the menus. False when one of
    // them cannot be made.
    bool LoadFrame();
    // Shows the window; the first time as the last run left it (place,
    // size, bars and panels), or at its first size when none did. What it
    // is like when it closes is kept for the next run.
    void ShowRestored();

    QMdiArea* MdiArea() const { return m_pMdiArea; }
    CChildFrame* MDIGetActive() const;
    CMultiDocTemplate& GetDocTemplate() const;
    // Shows a new child frame in the area, active. Within a batch of child
    // frames it joins the area at the batch's end, and the newest frame of
    // the batch is activated then.
    void AddChildFrame(CChildFrame* frame);
    // Activates the child frame, or, within a batch, at the batch's end.
    void MDIActivate(CChildFrame* frame);
    // A batch of child frames (see ChildFrameBatch). Batches nest.
    void BeginChildFrameBatch();
    void EndChildFrameBatch();
    QToolBar* ToolBar() const { return m_pToolBar; }
    TablesPanel* GetTablesPanel() const { return m_pTablesPanel; }
    QAction* Action(unsigned id) const;
    // The top-level menus shown now: menu 128 or 129.
    const std::vector<QMenu*>& CurrentMenus() const;
    QIcon DocumentIcon() const { return m_documentIcon; }

    // Sends `id` along the route.
    bool ExecuteCommand(unsigned id);
    // Asks for a refresh of every command's enable and check state, the
    // menu bar, the titles and the recent files; requests made before the
    // event loop next runs are merged into one.
    void RequestCommandUIUpdate();
    // The refresh itself.
    void UpdateCommandUI();

    // The message pane.
    void SetMessageText(const std::string& text) override;
    QString GetMessageText() const;
    // The first line of the command's prompt; "" for one without a prompt.
    void ShowPrompt(unsigned id);
    void ShowIdleMessage();

    void OnWindowNew();
    void OnUpdateWindowNew(CCmdUI* cmdUI);
    void OnWindowArrange();
    void OnWindowCascade();
    void OnWindowTile();
    void OnViewToolbar();
    void OnUpdateViewToolbar(CCmdUI* cmdUI);
    void OnViewStatusBar();
    void OnUpdateViewStatusBar(CCmdUI* cmdUI);
    // Undo and Redo act on the active document's history; their items name
    // the step they would take.
    void OnEditUndo();
    void OnUpdateEditUndo(CCmdUI* cmdUI);
    void OnEditRedo();
    void OnUpdateEditRedo(CCmdUI* cmdUI);
    // The tables panel, shown or hidden as in the last run.
    void OnViewTables();
    void OnUpdateViewTables(CCmdUI* cmdUI);

    static const CommandMap commandMap;

signals:
    // The refresh has run: after every command, among other times, so what
    // follows the documents' state (saved or not) can catch up.
    void CommandUIUpdated();

protected:
    const CommandMap* GetCommandMap() const override { return &commandMap; }
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateActions();
    std::vector<QMenu*> BuildMenuBar(bool forDocument);
    void FillWindowList(QMenu* menu);
    void UpdateKeyIndicators();
    void OnSubWindowActivated();
    // Adds the frame to the area, where Qt's own placement puts it when the
    // area shows.
    void AddToArea(CChildFrame* frame);
    // The frames of a batch join the area together, cascading.
    void AddBatchFramesToArea();
    std::vector<CCmdTarget*> Route() const;

    CPalvaneApp& m_app;
    QMdiArea* m_pMdiArea;
    QToolBar* m_pToolBar = nullptr;
    TablesPanel* m_pTablesPanel = nullptr;
    QLabel* m_pMessagePane = nullptr;
    QLabel* m_pSelectionPane = nullptr;
    std::vector<QLabel*> m_indicators;
    std::map<unsigned, QAction*> m_actions;
    std::vector<QMenu*> m_mainFrameMenus;
    std::vector<QMenu*> m_documentMenus;
    bool m_bShowingDocumentMenu = false;
    std::vector<QAction*> m_windowListActions;
    QTimer m_updateTimer;
    QtClipboard m_clipboard;
    Clipboard* m_pPreviousClipboard = nullptr;
    QIcon m_documentIcon;
    int m_nChildFrameBatches = 0;
    std::vector<QPointer<CChildFrame>> m_batchFrames;
    QPointer<CChildFrame> m_pBatchActivates;
    // Shown once: placed as the last run left it, and saved as it closes.
    bool m_bPlaced = false;
    bool m_bShowsMaximized = false;
    // The child that holds the keys of its Close item.
    QPointer<CChildFrame> m_pCloseKeysHolder;
};
