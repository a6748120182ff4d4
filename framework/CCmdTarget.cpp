#include "framework/CCmdTarget.h"

#include "framework/CCmdUI.h"
#include "framework/CException.h"
#include "framework/FrameworkMessages.h"
#include "framework/UserInterface.h"

#include <exception>
#include <new>

namespace {

void ReportCommandError(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc&) {
        AfxMessageBox(framework_messages::kOutOfMemory, MB_ICONEXCLAMATION);
    } catch (const CException& exception) {
        std::string message;
        if (!exception.GetErrorMessage(message) || message.empty())
            message = framework_messages::kCommandFailed;
        AfxMessageBox(message, MB_ICONSTOP);
    } catch (...) {
        AfxMessageBox(framework_messages::kCommandFailed, MB_ICONSTOP);
    }
}

} // namespace

constinit const CommandMap CCmdTarget::commandMap{nullptr, {}};

const CommandMapEntry* CCmdTarget::FindEntry(unsigned id) const
{
    for (const CommandMap* map = GetCommandMap(); map != nullptr; map = map->base)
        for (const CommandMapEntry& entry : map->entries)
            if (entry.id == id)
                return &entry;
    return nullptr;
}

bool CCmdTarget::OnCmdMsg(unsigned id)
{
    const CommandMapEntry* entry = FindEntry(id);
    if (entry == nullptr || entry->handler == nullptr)
        return false;
    (this->*entry->handler)();
    return true;
}

bool CCmdTarget::OnUpdateCmdUI(CCmdUI& cmdUI)
{
    const CommandMapEntry* entry = FindEntry(cmdUI.m_nID);
    if (entry == nullptr)
        return false;
    if (entry->update != nullptr)
        (this->*entry->update)(&cmdUI);
    // A rule that only sets the check mark leaves the command enabled when it
    // has a handler.
    if (!cmdUI.IsEnableChanged())
        cmdUI.Enable(entry->handler != nullptr);
    return true;
}

bool CCmdTarget::OnCommand(unsigned id)
{
    try {
        CCmdUI state(id);
        if (OnUpdateCmdUI(state) && !state.IsEnabled())
            return true; // a disabled command does nothing, whatever sent it
        return OnCmdMsg(id);
    } catch (...) {
        ReportCommandError(std::current_exception());
        return true;
    }
}
