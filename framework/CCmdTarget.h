#pragma once

#include <cstddef>
#include <span>
#include <type_traits>

class CCmdTarget;
class CCmdUI;

// One row of a command map: the command id, the member that handles it and
// the member that decides whether it is enabled (none: enabled whenever the
// target is on the route). Rows name the members of the derived class:
//   {ID_PALETTE_GRADIENT, &CPalvaneDoc::OnPaletteGradient,
//    &CPalvaneDoc::OnUpdatePaletteGradient}
// Converting a member pointer to the base class is not a constant expression
// for every compiler, so tables of rows are initialised when the program
// starts, before main runs.
struct CommandMapEntry {
    using Handler = void (CCmdTarget::*)();
    using UpdateHandler = void (CCmdTarget::*)(CCmdUI*);

    // The rule may be one that the class inherits.
    template <class Target, class RuleTarget = Target>
    CommandMapEntry(unsigned commandId, void (Target::*onCommand)(),
                    void (RuleTarget::*onUpdate)(CCmdUI*) = nullptr)
        : id(commandId), handler(static_cast<Handler>(onCommand)),
          update(static_cast<UpdateHandler>(onUpdate))
    {
        static_assert(std::is_base_of_v<CCmdTarget, Target>);
        static_assert(std::is_base_of_v<RuleTarget, Target>);
    }

    unsigned id;
    Handler handler;
    UpdateHandler update;
};

// A class's command map: its own rows, then those of its base's map.
struct CommandMap {
    const CommandMap* base;
    std::span<const CommandMapEntry> entries;
};

// An object that commands can be routed to. Each class with commands of its
// own defines a static `commandMap` table and returns it from
// GetCommandMap().
class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // Runs this target's handler for `id`. Returns false when it has none, so
    // that the route goes on to the next target.
    virtual bool OnCmdMsg(unsigned id);
    // Sets the state of `cmdUI` from this target's row for its command: the
    // row's enable rule, or enabled when the row has none. Returns false when
    // this target has no row for the command.
    virtual bool OnUpdateCmdUI(CCmdUI& cmdUI);

    // What the framework does with a command from a menu, a button or a key:
    // a command whose enable rule disables it is not run; otherwise it goes
    // to OnCmdMsg. An error escaping the handler is shown to the user ("Out
    // of memory." with the exclamation icon, the error's own text or
    // "Command failed." with the stop icon) and goes no further. Returns
    // whether a handler was found.
    bool OnCommand(unsigned id);

    static const CommandMap commandMap;

protected:
    virtual const CommandMap* GetCommandMap() const { return &commandMap; }

private:
    const CommandMapEntry* FindEntry(unsigned id) const;
};
