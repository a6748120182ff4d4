#include "app/ChildFrameBatch.h"

#include "app/CMainFrame.h"

ChildFrameBatch::ChildFrameBatch(CMainFrame& mainFrame) : m_mainFrame(mainFrame)
{
    m_mainFrame.BeginChildFrameBatch();
}

ChildFrameBatch::~ChildFrameBatch()
{
    m_mainFrame.EndChildFrameBatch();
}
