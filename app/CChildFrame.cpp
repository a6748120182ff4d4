#include "app/CChildFrame.h"

#include "app/CMainFrame.h"
#include "app/CMultiDocTemplate.h"
#include "document/CPalvaneDoc.h"
#include "view/CPalvaneView.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QShowEvent>

#include <algorithm>
#include <utility>

namespace {

// The document's views in windows. Others only follow its changes (the
// recovery journal) and never keep it open.
std::size_t WindowCount(const CPalvaneDoc* document)
{
    const std::vector<DocumentView*>& views = document->GetViews();
    return static_cast<std::size_t>(
        std::count_if(views.begin(), views.end(), [](DocumentView* view) {
            return dynamic_cast<CPalvaneView*>(view) != nullptr;
        }));
}

} // namespace

CChildFrame::CChildFrame(CPalvaneDoc* document, CMainFrame* mainFrame)
    : QMdiSubWindow(mainFrame), m_pMainFrame(mainFrame), m_pView(new CPalvaneView(document))
{
    // Hidden in the main frame until it joins the area.
    hide();
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(mainFrame->DocumentIcon());
    setWidget(m_pView);
    // Clicks in the view change the selection, which the enable rules read.
    m_pView->installEventFilter(mainFrame);
    for (QAction* item : systemMenu()->actions()) {
        if (!item->shortcuts().isEmpty()) {
            m_pCloseItem = item;
            m_closeKeys = item->shortcuts();
            item->setShortcuts({});
        }
    }
    // No size of its own: the area sizes a new child from the view's size
    // hint, within the area's room.
}

CChildFrame::~CChildFrame() = default;

void CChildFrame::DestroyView()
{
    // The view leaves its document now, before the document can go.
    delete m_pView;
    m_pView = nullptr;
}

void CChildFrame::CloseWithDocument()
{
    DestroyView();
    close();
}

void CChildFrame::ShowWithoutActivating()
{
    m_bShowsWithoutActivating = true;
    show();
}

void CChildFrame::HoldCloseKeys(bool hold)
{
    if (m_pCloseItem != nullptr)
        m_pCloseItem->setShortcuts(hold ? m_closeKeys : QList<QKeySequence>());
}

void CChildFrame::showEvent(QShowEvent* event)
{
    if (!std::exchange(m_bShowsWithoutActivating, false)) {
        QMdiSubWindow::showEvent(event);
        return;
    }
    QWidget::showEvent(event);
}

bool CChildFrame::eventFilter(QObject* watched, QEvent* event)
{
    // The subwindow activates itself when its widget appears, too; that
    // comes just before its own show event.
    if (m_bShowsWithoutActivating && watched == widget() && event->type() == QEvent::Show)
        return false;
    return QMdiSubWindow::eventFilter(watched, event);
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    if (m_pView == nullptr) {
        event->accept();
        return;
    }
    CPalvaneDoc* document = m_pView->GetDocument();
    if (WindowCount(document) == 1 && !document->SaveModified()) {
        event->ignore();
        return;
    }
    event->accept();
    DestroyView();
    if (WindowCount(document) == 0)
        document->OnCloseDocument();
    else
        m_pMainFrame->GetDocTemplate().UpdateFrameTitles(document); // ":1" and ":2" go
    m_pMainFrame->RequestCommandUIUpdate();
}
