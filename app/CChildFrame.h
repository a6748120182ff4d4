#pragma once

#include "framework/CCmdTarget.h"

#include <QKeySequence>
#include <QList>
#include <QMdiSubWindow>
#include <QPointer>

class CMainFrame;
class CPalvaneDoc;
class CPalvaneView;
class QAction;

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
    // Shows the frame without making it the active child: the first time it
    // appears on screen it leaves the activation where it is. Qt activates a
    // child as it appears by deactivating every other one in turn, which,
    // for a burst of new frames, costs time in the square of their number;
    // the burst activates its newest frame once at its end instead.
    void ShowWithoutActivating();
    // The keys of its system menu's Close item (Ctrl+F4) work in the active
    // child only, so only the active child holds them: every key an item
    // holds is kept in one table of the application, which grows and is
    // searched with each new child.
    void HoldCloseKeys(bool hold);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DestroyView();

    CMainFrame* m_pMainFrame;
    CPalvaneView* m_pView;
    bool m_bShowsWithoutActivating = false;
    QPointer<QAction> m_pCloseItem;
    QList<QKeySequence> m_closeKeys;
};
