#include "framework/CommandRoute.h"

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

bool RouteUpdateCmdUI(CommandRoute route, CCmdUI& cmdUI)
{
    for (CCmdTarget* target : route)
        if (target != nullptr && target->OnUpdateCmdUI(cmdUI))
            return true;
    return false;
}

bool RouteCommand(CommandRoute route, unsigned id)
{
    try {
        CCmdUI state(id);
        if (RouteUpdateCmdUI(route, state) && !state.IsEnabled())
            return true; // a disabled command does nothing, whatever sent it
        // A handler may close the window or document it belongs to, so the
        // route is not looked at again once one has run.
        for (CCmdTarget* target : route)
            if (target != nullptr && target->OnCmdMsg(id))
                return true;
        return false;
    } catch (...) {
        ReportCommandError(std::current_exception());
        return true;
    }
}
