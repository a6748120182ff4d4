#include "framework/MessagePane.h"

namespace {

MessagePane* g_messagePane = nullptr;

} // namespace

MessagePane* AfxGetMessagePane()
{
    return g_messagePane;
}

MessagePane* AfxSetMessagePane(MessagePane* pane)
{
    MessagePane* previous = g_messagePane;
    g_messagePane = pane;
    return previous;
}
