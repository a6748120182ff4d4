#include "framework/CCmdTarget.h"

#include "framework/CCmdUI.h"
#include "framework/CommandRoute.h"

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
    entry->RunHandler(this);
    return true;
}

bool CCmdTarget::OnUpdateCmdUI(CCmdUI& cmdUI)
{
    const CommandMapEntry* entry = FindEntry(cmdUI.m_nID);
    if (entry == nullptr)
        return false;
    if (entry->update != nullptr)
        entry->RunUpdate(this, &cmdUI);
    // A rule that only sets the check mark leaves the command enabled when it
    // has a handler.
    if (!cmdUI.IsEnableChanged())
        cmdUI.Enable(entry->handler != nullptr);
    return true;
}

bool CCmdTarget::OnCommand(unsigned id)
{
    CCmdTarget* const route[] = {this};
    return RouteCommand(route, id);
}
