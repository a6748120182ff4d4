#include "app/CMainFrame.h"

#include "app/CChildFrame.h"
#include "app/CMultiDocTemplate.h"
#include "app/CPalvaneApp.h"
#include "app/ChildFrameBatch.h"
#include "app/ChildWindowArrangement.h"
#include "app/DocumentUndoStacks.h"
#include "app/MainWindowState.h"
#include "app/ResourceImages.h"
#include "app/WindowTitle.h"
#include "document/CPalvaneDoc.h"
#include "document/CellText.h"
#include "document/GridLayout.h"
#include "framework/CCmdUI.h"
#include "framework/CommandRoute.h"
#include "framework/RecentFileList.h"
#include "res/CommandTable.h"
#include "view/CPalvaneView.h"
#include "view/TablesPanel.h"

#include <QAction>
#include <QCloseEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QUndoGroup>
#include <QUrl>

#include <utility>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

const CommandMapEntry kCommands[] = {
    {ID_WINDOW_NEW, &CMainFrame::OnWindowNew, &CMainFrame::OnUpdateWindowNew},
    {ID_WINDOW_ARRANGE, &CMainFrame::OnWindowArrange},
    {ID_WINDOW_CASCADE, &CMainFrame::OnWindowCascade},
    {ID_WINDOW_TILE_HORZ, &CMainFrame::OnWindowTile},
    {ID_VIEW_TOOLBAR, &CMainFrame::OnViewToolbar, &CMainFrame::OnUpdateViewToolbar},
    {ID_VIEW_STATUS_BAR, &CMainFrame::OnViewStatusBar, &CMainFrame::OnUpdateViewStatusBar},
    {ID_EDIT_UNDO, &CMainFrame::OnEditUndo, &CMainFrame::OnUpdateEditUndo},
    {ID_EDIT_REDO, &CMainFrame::OnEditRedo, &CMainFrame::OnUpdateEditRedo},
    {ID_VIEW_TABLES, &CMainFrame::OnViewTables, &CMainFrame::OnUpdateViewTables},
};

constexpr const char* kIdleMessage = "Ready";
constexpr const char* kActivateWindowPrompt = "Activate this window";
// Whether the tables panel shows, as the user last chose.
const QString kTablesPanelKey = QStringLiteral("Settings/TablesPanel");
// Recent files are shown in the menus shortened to this many characters.
constexpr std::size_t kRecentFileMenuLength = 30;

const CommandInfo* FindCommand(unsigned id)
{
    for (const CommandInfo& command : kCommandTable)
        if (command.id == id)
            return &command;
    return nullptr;
}

// The text of the command's item in the menus, or its tooltip when no menu
// lists it (the toolbar's Gradient and Colorize).
QString ActionText(const CommandInfo& command)
{
    if (const char* text = MenuItemText(command.id))
        return QString::fromUtf8(text);
    const QString prompt = QString::fromUtf8(command.prompt);
    return prompt.section(QLatin1Char('\n'), 1);
}

// The command's menu text naming what it would act on: "&Undo\tCtrl+Z"
// naming "Gradient 32–47" is "&Undo Gradient 32–47\tCtrl+Z".
std::string NamedItemText(unsigned id, const QString& name)
{
    const std::string text = MenuItemText(id);
    if (name.isEmpty())
        return text;
    const std::size_t tab = std::min(text.find('\t'), text.size());
    return text.substr(0, tab) + ' ' + name.toStdString() + text.substr(tab);
}

// The key locks the status bar reports, with the text each pane shows.
struct KeyIndicator {
    const char* text;
    int virtualKey;
};
constexpr KeyIndicator kKeyIndicators[] = {{"CAP", 0x14}, {"NUM", 0x90}, {"SCRL", 0x91}};

// Whether the lock is on. Only Windows lets a program read it: X11 keeps
// it in the keyboard extension, out of reach of Qt's interface, and
// Wayland does not tell clients at all, so there the panes stay empty.
bool KeyLockIsOn([[maybe_unused]] int virtualKey)
{
#ifdef Q_OS_WIN
    return (::GetKeyState(virtualKey) & 1) != 0;
#else
    return false;
#endif
}

} // namespace

constinit const CommandMap CMainFrame::commandMap{&CCmdTarget::commandMap, kCommands};

CMainFrame::CMainFrame(CPalvaneApp& app) : m_app(app), m_pMdiArea(new QMdiArea(this))
{
    setObjectName(QStringLiteral("CMainFrame"));
    setCentralWidget(m_pMdiArea);
    setAcceptDrops(true);
    setWindowIcon(ResourceImages::ApplicationIcon());
    m_documentIcon = ResourceImages::DocumentIcon();
    m_updateTimer.setSingleShot(true);
    m_updateTimer.setInterval(0);
    connect(&m_updateTimer, &QTimer::timeout, this, &CMainFrame::UpdateCommandUI);
    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);
    // Undo and Redo follow the active history, whatever moved it: commands,
    // and edits made in a view.
    QUndoGroup& history = m_app.GetUndoStacks().Group();
    connect(&history, &QUndoGroup::canUndoChanged, this, &CMainFrame::RequestCommandUIUpdate);
    connect(&history, &QUndoGroup::canRedoChanged, this, &CMainFrame::RequestCommandUIUpdate);
    connect(&history, &QUndoGroup::undoTextChanged, this, &CMainFrame::RequestCommandUIUpdate);
    connect(&history, &QUndoGroup::redoTextChanged, this, &CMainFrame::RequestCommandUIUpdate);
    AfxSetMessagePane(this);
    m_pPreviousClipboard = AfxSetClipboard(&m_clipboard);
}

CMainFrame::~CMainFrame()
{
    // The child windows go with the base class, after this class's members.
    disconnect(m_pMdiArea, nullptr, this, nullptr);
    if (AfxGetMessagePane() == this)
        AfxSetMessagePane(nullptr);
    if (&AfxGetClipboard() == &m_clipboard)
        AfxSetClipboard(m_pPreviousClipboard);
}

bool CMainFrame::LoadFrame()
{
    CreateActions();

    m_pToolBar = new QToolBar(QStringLiteral("Toolbar"), this);
    m_pToolBar->setObjectName(QStringLiteral("toolbar"));
    m_pToolBar->setMovable(true);
    m_pToolBar->setFloatable(true);
    m_pToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_pToolBar->setIconSize(QSize(16, 15));
    const std::vector<QIcon> images = ResourceImages::ToolBarImages();
    std::size_t button = 0;
    for (unsigned id : kToolBar) {
        if (id == 0) {
            m_pToolBar->addSeparator();
            continue;
        }
        QAction* action = Action(id);
        if (button < images.size())
            action->setIcon(images[button]);
        ++button;
        m_pToolBar->addAction(action);
        m_pToolBar->widgetForAction(action)->installEventFilter(this);
    }
    addToolBar(Qt::TopToolBarArea, m_pToolBar);

    m_pMessagePane = new QLabel(QString::fromUtf8(kIdleMessage));
    m_pMessagePane->setObjectName(QStringLiteral("messagePane"));
    statusBar()->addWidget(m_pMessagePane, 1);
    // The selected run of the active document, wide enough for the longest.
    m_pSelectionPane = new QLabel;
    m_pSelectionPane->setObjectName(QStringLiteral("selectionPane"));
    m_pSelectionPane->setFrameShape(QFrame::Panel);
    m_pSelectionPane->setFrameShadow(QFrame::Sunken);
    m_pSelectionPane->setAlignment(Qt::AlignCenter);
    m_pSelectionPane->setMinimumWidth(
        m_pSelectionPane->fontMetrics().horizontalAdvance(
            QString::fromStdString(SelectionStatusText(0, GridLayout::kCells - 1))) +
        8);
    statusBar()->addPermanentWidget(m_pSelectionPane);
    for (const KeyIndicator& indicator : kKeyIndicators) {
        auto* pane = new QLabel;
        pane->setObjectName(QString::fromUtf8(indicator.text));
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 8);
        statusBar()->addPermanentWidget(pane);
        m_indicators.push_back(pane);
    }

    m_pTablesPanel = new TablesPanel(this);
    addDockWidget(Qt::RightDockWidgetArea, m_pTablesPanel);
    m_pTablesPanel->setHidden(!QSettings().value(kTablesPanelKey, false).toBool());
    connect(m_pTablesPanel, &TablesPanel::SelectionChanged, this,
            &CMainFrame::RequestCommandUIUpdate);
    connect(this, &CMainFrame::CommandUIUpdated, m_pTablesPanel, &TablesPanel::Refresh);

    m_mainFrameMenus = BuildMenuBar(false);
    m_documentMenus = BuildMenuBar(true);
    for (QMenu* menu : m_mainFrameMenus)
        menuBar()->addMenu(menu);
    UpdateCommandUI();
    return true;
}

void CMainFrame::CreateActions()
{
    for (const CommandInfo& command : kCommandTable) {
        auto* action = new QAction(ActionText(command), this);
        action->setObjectName(QString::fromUtf8(command.name));
        action->setData(command.id);
        const QString prompt = QString::fromUtf8(command.prompt);
        action->setToolTip(prompt.section(QLatin1Char('\n'), 1));
        action->setIconText(action->toolTip());
        // The toolbar's images are for its buttons only.
        action->setIconVisibleInMenu(false);
        QList<QKeySequence> keys;
        for (const char* key : {command.key, command.otherKey})
            if (*key != '\0')
                keys.append(QKeySequence(QString::fromUtf8(key)));
        action->setShortcuts(keys);
        // The keys work whichever menu bar is shown.
        addAction(action);
        const unsigned id = command.id;
        connect(action, &QAction::triggered, this, [this, id] { ExecuteCommand(id); });
        connect(action, &QAction::hovered, this, [this, id] { ShowPrompt(id); });
        m_actions.emplace(id, action);
    }
}

std::vector<QMenu*> CMainFrame::BuildMenuBar(bool forDocument)
{
    const std::span<const MenuItem> items = forDocument ? std::span<const MenuItem>(kDocumentMenu)
                                                        : std::span<const MenuItem>(kMainFrameMenu);
    std::vector<QMenu*> topLevel;
    std::vector<QMenu*> open;
    for (const MenuItem& item : items) {
        switch (item.kind) {
        case MenuItem::popup: {
            QMenu* menu = open.empty() ? new QMenu(QString::fromUtf8(item.text), this)
                                       : open.back()->addMenu(QString::fromUtf8(item.text));
            connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
            connect(menu, &QMenu::aboutToHide, this, &CMainFrame::ShowIdleMessage);
            // Pointing at a pop-up or a window in the list: no command prompt.
            connect(menu, &QMenu::hovered, this, [this](QAction* action) {
                if (!action->data().isValid())
                    SetMessageText(action->menu() != nullptr ? std::string()
                                                             : std::string(kActivateWindowPrompt));
            });
            if (open.empty())
                topLevel.push_back(menu);
            open.push_back(menu);
            break;
        }
        case MenuItem::popupEnd:
            open.pop_back();
            break;
        case MenuItem::separator:
            open.back()->addSeparator();
            break;
        case MenuItem::command:
            open.back()->addAction(Action(item.id));
            break;
        case MenuItem::recentFiles:
            for (unsigned id = ID_FILE_MRU_FILE1; id <= ID_FILE_MRU_FILE5; ++id)
                open.back()->addAction(Action(id));
            break;
        case MenuItem::windowList: {
            QMenu* menu = open.back();
            connect(menu, &QMenu::aboutToShow, this, [this, menu] { FillWindowList(menu); });
            break;
        }
        }
    }
    return topLevel;
}

void CMainFrame::FillWindowList(QMenu* menu)
{
    for (QAction* action : m_windowListActions)
        delete action;
    m_windowListActions.clear();
    const QList<QMdiSubWindow*> windows = m_pMdiArea->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    m_windowListActions.push_back(menu->addSeparator());
    int number = 0;
    for (QMdiSubWindow* window : windows) {
        QString title = WindowTitle::Shown(*window);
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = menu->addAction(QStringLiteral("&%1 %2").arg(++number).arg(title));
        action->setCheckable(true);
        action->setChecked(window == m_pMdiArea->activeSubWindow());
        connect(action, &QAction::triggered, this,
                [this, window] { m_pMdiArea->setActiveSubWindow(window); });
        m_windowListActions.push_back(action);
    }
}

QAction* CMainFrame::Action(unsigned id) const
{
    const auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

const std::vector<QMenu*>& CMainFrame::CurrentMenus() const
{
    return m_bShowingDocumentMenu ? m_documentMenus : m_mainFrameMenus;
}

CMultiDocTemplate& CMainFrame::GetDocTemplate() const
{
    return m_app.GetDocTemplate();
}

void CMainFrame::AddChildFrame(CChildFrame* frame)
{
    if (m_nChildFrameBatches > 0) {
        m_batchFrames.emplace_back(frame);
        m_pBatchActivates = frame;
        return;
    }
    AddToArea(frame);
    frame->show();
    m_pMdiArea->setActiveSubWindow(frame);
}

void CMainFrame::MDIActivate(CChildFrame* frame)
{
    if (m_nChildFrameBatches > 0)
        m_pBatchActivates = frame;
    else if (frame->mdiArea() == m_pMdiArea)
        m_pMdiArea->setActiveSubWindow(frame);
}

void CMainFrame::AddToArea(CChildFrame* frame)
{
    // Qt raises a child it adds above the others by looking up each of them
    // in its list of children, which costs time in the square of their
    // number; a child that stays on top is simply raised. So the child
    // stays on top just while it is added (its system menu's item, which
    // followed the hint, is set back with it).
    frame->overrideWindowFlags(frame->windowFlags() | Qt::WindowStaysOnTopHint);
    m_pMdiArea->addSubWindow(frame);
    frame->overrideWindowFlags(frame->windowFlags() & ~Qt::WindowStaysOnTopHint);
    for (QAction* item : frame->systemMenu()->actions())
        if (item->isCheckable())
            item->setChecked(false);
}

void CMainFrame::AddBatchFramesToArea()
{
    std::vector<CChildFrame*> frames;
    for (CChildFrame* frame : std::exchange(m_batchFrames, {}))
        if (frame != nullptr && frame->GetView() != nullptr) // not closed meanwhile
            frames.push_back(frame);
    if (frames.empty())
        return;
    // Qt places a child that joins a visible area where it overlaps the
    // others least, measuring it against each of them: a batch joins the
    // area hidden, cascading down from the active child, and shows at once.
    // (An area not shown yet places its children when it first shows.)
    const QMdiSubWindow* previous = m_pMdiArea->activeSubWindow();
    const bool areaShown = m_pMdiArea->isVisible();
    if (areaShown)
        m_pMdiArea->hide();
    for (CChildFrame* frame : frames) {
        AddToArea(frame);
        if (areaShown)
            frame->setGeometry(
                ChildWindowArrangement::NextInCascade(*m_pMdiArea, *frame, previous));
        frame->ShowWithoutActivating();
        previous = frame;
    }
    if (areaShown)
        m_pMdiArea->show();
}

void CMainFrame::BeginChildFrameBatch()
{
    ++m_nChildFrameBatches;
}

void CMainFrame::EndChildFrameBatch()
{
    if (--m_nChildFrameBatches > 0)
        return;
    AddBatchFramesToArea();
    if (CChildFrame* activates = std::exchange(m_pBatchActivates, nullptr);
        activates != nullptr && activates->mdiArea() == m_pMdiArea)
        m_pMdiArea->setActiveSubWindow(activates);
    RequestCommandUIUpdate();
}

CChildFrame* CMainFrame::MDIGetActive() const
{
    // A frame whose view is gone is closing.
    auto* frame = qobject_cast<CChildFrame*>(m_pMdiArea->activeSubWindow());
    return frame != nullptr && frame->GetView() != nullptr ? frame : nullptr;
}

std::vector<CCmdTarget*> CMainFrame::Route() const
{
    CChildFrame* child = MDIGetActive();
    if (child == nullptr)
        return {const_cast<CMainFrame*>(this), &m_app};
    CPalvaneView* view = child->GetView();
    return {view, view->GetDocument(), child, &m_app, const_cast<CMainFrame*>(this)};
}

bool CMainFrame::ExecuteCommand(unsigned id)
{
    const bool handled = RouteCommand(Route(), id);
    RequestCommandUIUpdate();
    return handled;
}

void CMainFrame::OnSubWindowActivated()
{
    CChildFrame* child = MDIGetActive();
    m_app.GetUndoStacks().SetActiveDocument(child != nullptr ? child->GetView()->GetDocument()
                                                             : nullptr);
    auto* active = qobject_cast<CChildFrame*>(m_pMdiArea->activeSubWindow());
    if (m_pTablesPanel != nullptr && active != nullptr)
        m_pTablesPanel->Follow(active->GetView());
    if (active != m_pCloseKeysHolder) {
        if (m_pCloseKeysHolder != nullptr)
            m_pCloseKeysHolder->HoldCloseKeys(false);
        if (active != nullptr)
            active->HoldCloseKeys(true);
        m_pCloseKeysHolder = active;
    }
    RequestCommandUIUpdate();
}

void CMainFrame::RequestCommandUIUpdate()
{
    m_updateTimer.start();
}

void CMainFrame::UpdateCommandUI()
{
    m_updateTimer.stop();
    const bool documentMenu = m_app.GetDocTemplate().HasDocuments();
    if (documentMenu != m_bShowingDocumentMenu) {
        m_bShowingDocumentMenu = documentMenu;
        menuBar()->clear();
        for (QMenu* menu : CurrentMenus())
            menuBar()->addMenu(menu);
    }

    const std::vector<std::string>& recent = m_app.GetRecentFileList().GetEntries();
    for (unsigned id = ID_FILE_MRU_FILE1; id <= ID_FILE_MRU_FILE5; ++id) {
        const std::size_t index = id - ID_FILE_MRU_FILE1;
        QAction* action = Action(id);
        action->setVisible(index == 0 || index < recent.size());
        action->setText(index < recent.size()
                            ? QString::fromStdString(m_app.GetRecentFileList().GetMenuText(
                                  index, kRecentFileMenuLength))
                            : QString::fromUtf8(menu_items::kRecentFiles.text));
    }

    const std::vector<CCmdTarget*> route = Route();
    for (const auto& [id, action] : m_actions) {
        CCmdUI state(id);
        RouteUpdateCmdUI(route, state);
        action->setEnabled(state.IsEnabled());
        if (state.IsTextChanged())
            action->setText(QString::fromStdString(state.GetText()));
        if (state.IsCheckChanged()) {
            action->setCheckable(true);
            action->setChecked(state.GetCheck() == CCmdUI::checked);
        }
    }

    CChildFrame* active = MDIGetActive();
    const CPalvaneDoc* document = active != nullptr ? active->GetView()->GetDocument() : nullptr;
    QString title = QStringLiteral("Palvane");
    if (document != nullptr)
        title = WindowTitle::Marked(title + QStringLiteral(" - ") +
                                    QString::fromStdString(document->GetTitle()));
    setWindowTitle(title);
    setWindowModified(document != nullptr && document->IsModified());
    // Every change of a selection, by the mouse, the keys or a command, ends
    // in this refresh.
    if (m_pSelectionPane != nullptr)
        m_pSelectionPane->setText(document != nullptr
                                      ? QString::fromStdString(SelectionStatusText(
                                            document->m_nSelStart, document->m_nSelEnd))
                                      : QString());
    UpdateKeyIndicators();
    emit CommandUIUpdated();
}

void CMainFrame::UpdateKeyIndicators()
{
    for (std::size_t i = 0; i < m_indicators.size(); ++i)
        m_indicators[i]->setText(KeyLockIsOn(kKeyIndicators[i].virtualKey)
                                     ? QString::fromUtf8(kKeyIndicators[i].text)
                                     : QString());
}

void CMainFrame::SetMessageText(const std::string& text)
{
    if (m_pMessagePane != nullptr)
        m_pMessagePane->setText(QString::fromStdString(text));
}

QString CMainFrame::GetMessageText() const
{
    return m_pMessagePane != nullptr ? m_pMessagePane->text() : QString();
}

void CMainFrame::ShowPrompt(unsigned id)
{
    const CommandInfo* command = FindCommand(id);
    const std::string prompt = command != nullptr ? command->prompt : "";
    SetMessageText(prompt.substr(0, prompt.find('\n')));
}

void CMainFrame::ShowIdleMessage()
{
    SetMessageText(kIdleMessage);
}

void CMainFrame::ShowRestored()
{
    if (!m_bPlaced) {
        m_bPlaced = true;
        m_bShowsMaximized = MainWindowState::Restore(*this);
    }
    if (m_bShowsMaximized)
        showMaximized();
    else
        show();
}

void CMainFrame::OnWindowNew()
{
    if (CChildFrame* active = MDIGetActive(); active != nullptr && active->GetView() != nullptr)
        m_app.GetDocTemplate().CreateNewFrame(active->GetView()->GetDocument());
}

void CMainFrame::OnUpdateWindowNew(CCmdUI* cmdUI)
{
    cmdUI->Enable(MDIGetActive() != nullptr);
}

void CMainFrame::OnWindowArrange()
{
    // Minimised windows in a row along the bottom of the area.
    int x = 0;
    for (QMdiSubWindow* window : m_pMdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (!window->isMinimized())
            continue;
        window->move(x, m_pMdiArea->viewport()->height() - window->height());
        x += window->width();
    }
}

void CMainFrame::OnWindowCascade()
{
    ChildWindowArrangement::Cascade(*m_pMdiArea);
}

void CMainFrame::OnWindowTile()
{
    ChildWindowArrangement::Tile(*m_pMdiArea);
}

void CMainFrame::OnViewToolbar()
{
    m_pToolBar->setHidden(!m_pToolBar->isHidden());
}

void CMainFrame::OnUpdateViewToolbar(CCmdUI* cmdUI)
{
    cmdUI->SetCheck(m_pToolBar->isHidden() ? CCmdUI::unchecked : CCmdUI::checked);
}

void CMainFrame::OnViewStatusBar()
{
    statusBar()->setHidden(!statusBar()->isHidden());
}

void CMainFrame::OnUpdateViewStatusBar(CCmdUI* cmdUI)
{
    cmdUI->SetCheck(statusBar()->isHidden() ? CCmdUI::unchecked : CCmdUI::checked);
}

void CMainFrame::OnEditUndo()
{
    m_app.GetUndoStacks().Group().undo();
}

void CMainFrame::OnUpdateEditUndo(CCmdUI* cmdUI)
{
    const QUndoGroup& history = m_app.GetUndoStacks().Group();
    cmdUI->Enable(history.canUndo());
    cmdUI->SetText(NamedItemText(ID_EDIT_UNDO, history.undoText()));
}

void CMainFrame::OnEditRedo()
{
    m_app.GetUndoStacks().Group().redo();
}

void CMainFrame::OnUpdateEditRedo(CCmdUI* cmdUI)
{
    const QUndoGroup& history = m_app.GetUndoStacks().Group();
    cmdUI->Enable(history.canRedo());
    cmdUI->SetText(NamedItemText(ID_EDIT_REDO, history.redoText()));
}

void CMainFrame::OnViewTables()
{
    m_pTablesPanel->setHidden(!m_pTablesPanel->isHidden());
    QSettings().setValue(kTablesPanelKey, !m_pTablesPanel->isHidden());
}

void CMainFrame::OnUpdateViewTables(CCmdUI* cmdUI)
{
    cmdUI->SetCheck(m_pTablesPanel->isHidden() ? CCmdUI::unchecked : CCmdUI::checked);
}

bool CMainFrame::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::StatusTip:
        // The message pane shows the command table's prompts instead.
        return true;

    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::WindowActivate:
        UpdateKeyIndicators();
        break;
    default:
        break;
    }
    return QMainWindow::event(event);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (auto* button = qobject_cast<QToolButton*>(watched)) {
        if (event->type() == QEvent::Enter && button->defaultAction() != nullptr)
            ShowPrompt(button->defaultAction()->data().toUInt());
        else if (event->type() == QEvent::Leave)
            ShowIdleMessage();
    } else if (qobject_cast<CPalvaneView*>(watched) != nullptr) {
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick || event->type() == QEvent::KeyPress)
            RequestCommandUIUpdate();
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!m_app.GetDocTemplate().SaveAllModified()) {
        // Documents saved before the answer that kept the editor open.
        RequestCommandUIUpdate();
        event->ignore();
        return;
    }
    m_app.GetDocTemplate().CloseAllDocuments();
    m_app.SaveStdProfileSettings();
    if (m_bPlaced)
        MainWindowState::Save(*this);
    // A closing editor answers no more requests; the next start serves them.
    m_app.GetRequestService().Withdraw();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const ChildFrameBatch batch(*this);
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            m_app.OpenDocumentFile(url.toLocalFile().toStdString());
    event->acceptProposedAction();
}
