#pragma once

#include "framework/CCmdTarget.h"

#include <QMdiSubWindow>

class CMainFrame;
class CPalvaneDoc;
class CPalvaneView;

// A child window of the main frame holding one palette view of a document.
// Closing the last view of a document closes the document, asking first
// when it is modified.
class CChildFrame : public QMdiSubWindow, public CCmdTarget {
    Q_OBJECT

public:
    CChildFrame(CPalvaneDoc* document, CMainFrame* mainFrame);
    ~CChildFrame() override;

    // nullptr once the frame is closing.
    CPalvaneView* GetView() const { return m_pView; }
    // Closes the frame as part of closing its document: no question.
    void CloseWithDocument();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void DestroyView();

    CMainFrame* m_pMainFrame;
    CPalvaneView* m_pView;
};
