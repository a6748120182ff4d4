#include "app/CChildFrame.h"

#include "app/CMainFrame.h"
#include "document/CPalvaneDoc.h"
#include "view/CPalvaneView.h"

#include <QCloseEvent>

CChildFrame::CChildFrame(CPalvaneDoc* document, CMainFrame* mainFrame)
    : m_pMainFrame(mainFrame), m_pView(new CPalvaneView(document))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(mainFrame->DocumentIcon());
    setWidget(m_pView);
    // Clicks in the view change the selection, which the enable rules read.
    m_pView->installEventFilter(mainFrame);
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

void CChildFrame::closeEvent(QCloseEvent* event)
{
    if (m_pView == nullptr) {
        event->accept();
        return;
    }
    CPalvaneDoc* document = m_pView->GetDocument();
    if (document->GetViews().size() == 1 && !document->SaveModified()) {
        event->ignore();
        return;
    }
    event->accept();
    DestroyView();
    if (document->GetViews().empty())
        document->OnCloseDocument();
    m_pMainFrame->RequestCommandUIUpdate(); // the other views' titles
}
