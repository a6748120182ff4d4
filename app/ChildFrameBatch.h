#pragma once

class CMainFrame;

// Opening many documents at once: while a batch lasts, new child frames
// wait hidden; when the outermost batch ends they join the area together,
// cascading, and the newest is activated. Each child that joins a shown
// area, or is activated, costs Qt work over every other child: one by one,
// a burst would cost time in the square of its size.
class ChildFrameBatch {
public:
    explicit ChildFrameBatch(CMainFrame& mainFrame);
    ~ChildFrameBatch();
    ChildFrameBatch(const ChildFrameBatch&) = delete;
    ChildFrameBatch& operator=(const ChildFrameBatch&) = delete;

private:
    CMainFrame& m_mainFrame;
};
