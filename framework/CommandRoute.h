#pragma once

#include <span>

class CCmdTarget;
class CCmdUI;

// The targets a command is offered to, in order: the first whose command map
// lists it handles it. Null entries are skipped.
using CommandRoute = std::span<CCmdTarget* const>;

// Sets `cmdUI` from the first target on `route` whose map lists the command.
// Returns false, leaving the command disabled, when none does.
bool RouteUpdateCmdUI(CommandRoute route, CCmdUI& cmdUI);

// What the framework does with a command from a menu, a button or a key: a
// command whose enable rule disables it is not run; otherwise the first
// target with a handler runs it. An error escaping the handler is shown to
// the user ("Out of memory." with the exclamation icon, the error's own text
// or "Command failed." with the stop icon) and goes no further. Returns
// whether a target took the command.
bool RouteCommand(CommandRoute route, unsigned id);
