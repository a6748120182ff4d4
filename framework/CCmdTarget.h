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
          update(static_cast<UpdateHandler>(static_cast<void (Target::*)(CCmdUI*)>(onUpdate))),
          m_callHandler(&CallHandler<Target>), m_callUpdate(&CallUpdate<Target>)
    {
        static_assert(std::is_base_of_v<CCmdTarget, Target>);
        static_assert(std::is_base_of_v<RuleTarget, Target>);
    }

    // Runs the row's handler or rule on `target`, an object of the row's class.
    void RunHandler(CCmdTarget* target) const { m_callHandler(target, handler); }
    void RunUpdate(CCmdTarget* target, CCmdUI* cmdUI) const { m_callUpdate(target, update, cmdUI); }

    unsigned id;
    Handler handler;
    UpdateHandler update;

private:
    // The members are called on the class that declares the row: in a class
    // with several bases the command target part may lie at an offset, and
    // the call must start from the whole object.
    template <class Target> static void CallHandler(CCmdTarget* target, Handler member)
    {
        (static_cast<Target*>(target)->*static_cast<void (Target::*)()>(member))();
    }
    template <class Target>
    static void CallUpdate(CCmdTarget* target, UpdateHandler member, CCmdUI* cmdUI)
    {
        (static_cast<Target*>(target)->*static_cast<void (Target::*)(CCmdUI*)>(member))(cmdUI);
    }

    void (*m_callHandler)(CCmdTarget*, Handler);
    void (*m_callUpdate)(CCmdTarget*, UpdateHandler, CCmdUI*);
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

    // Runs `id` as a menu, a button or a key would, with this target alone
    // on the route (see RouteCommand).
    bool OnCommand(unsigned id);

    static const CommandMap commandMap;

protected:
    virtual const CommandMap* GetCommandMap() const { return &commandMap; }

private:
    const CommandMapEntry* FindEntry(unsigned id) const;
};
