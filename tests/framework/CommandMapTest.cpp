// Command maps: which rows a target has, what its enable rules say, and what
// becomes of a command that is disabled or fails.

#include "framework/CCmdTarget.h"
#include "framework/CCmdUI.h"
#include "framework/CFileException.h"
#include "framework/ScriptedUserInterface.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace {

enum : unsigned { kRuled = 100, kAlways, kCheckOnly, kRuleOnly, kFails, kDerivedOnly, kUnknown };

class Target : public CCmdTarget {
public:
    void OnRuled() { ran.push_back(kRuled); }
    void OnUpdateRuled(CCmdUI* cmdUI) { cmdUI->Enable(ruledEnabled); }
    void OnAlways() { ran.push_back(kAlways); }
    void OnCheckOnly() { ran.push_back(kCheckOnly); }
    void OnUpdateCheckOnly(CCmdUI* cmdUI) { cmdUI->SetCheck(); }
    void OnFails() { failure(); }

    static const CommandMap commandMap;
    std::vector<unsigned> ran;
    bool ruledEnabled = false;
    void (*failure)() = [] {};

protected:
    const CommandMap* GetCommandMap() const override { return &commandMap; }
};

const CommandMapEntry kTargetCommands[] = {
    {kRuled, &Target::OnRuled, &Target::OnUpdateRuled},
    {kAlways, &Target::OnAlways},
    {kCheckOnly, &Target::OnCheckOnly, &Target::OnUpdateCheckOnly},
    {kRuleOnly, static_cast<void (Target::*)()>(nullptr), &Target::OnUpdateRuled},
    {kFails, &Target::OnFails},
};
const CommandMap Target::commandMap{&CCmdTarget::commandMap, kTargetCommands};

// A derived class's rows come before its base's.
class Derived : public Target {
public:
    void OnDerivedAlways() { ran.push_back(kDerivedOnly); }
    void OnDerivedRuled() { ran.push_back(kRuled + 1000); }

    static const CommandMap commandMap;

protected:
    const CommandMap* GetCommandMap() const override { return &commandMap; }
};

const CommandMapEntry kDerivedCommands[] = {
    {kDerivedOnly, &Derived::OnDerivedAlways},
    {kRuled, &Derived::OnDerivedRuled, &Derived::OnUpdateRuled},
};
const CommandMap Derived::commandMap{&Target::commandMap, kDerivedCommands};

TEST(CommandMapTest, RowsAnswerForTheirCommandsOnly)
{
    struct Row {
        unsigned id;
        bool ruledEnabled;
        bool hasRow, enabled, checked, handled;
    };
    const Row rows[] = {
        {kRuled, false, true, false, false, true},    {kRuled, true, true, true, false, true},
        {kAlways, false, true, true, false, true},    {kCheckOnly, false, true, true, true, true},
        {kRuleOnly, true, true, true, false, false},  {kDerivedOnly, true, true, true, false, true},
        {kUnknown, true, false, false, false, false},
    };
    for (const Row& row : rows) {
        Derived target;
        target.ruledEnabled = row.ruledEnabled;
        CCmdUI state(row.id);
        EXPECT_EQ(target.OnUpdateCmdUI(state), row.hasRow) << row.id;
        EXPECT_EQ(state.IsEnabled(), row.enabled) << row.id;
        EXPECT_EQ(state.GetCheck() == CCmdUI::checked, row.checked) << row.id;
        EXPECT_EQ(target.OnCmdMsg(row.id), row.handled) << row.id;
    }
    Derived derived;
    Target base;
    derived.OnCmdMsg(kRuled);
    base.OnCmdMsg(kRuled);
    EXPECT_EQ(derived.ran, std::vector<unsigned>{kRuled + 1000}) << "the derived row wins";
    EXPECT_EQ(base.ran, std::vector<unsigned>{kRuled});
    EXPECT_FALSE(base.OnCmdMsg(kDerivedOnly));
}

TEST(CommandMapTest, ADisabledCommandDoesNotRun)
{
    Target target;
    EXPECT_TRUE(target.OnCommand(kRuled));
    EXPECT_TRUE(target.ran.empty());
    target.ruledEnabled = true;
    EXPECT_TRUE(target.OnCommand(kRuled));
    EXPECT_FALSE(target.OnCommand(kUnknown));
    EXPECT_EQ(target.ran, std::vector<unsigned>{kRuled});
}

TEST(CommandMapTest, AnErrorEscapingACommandIsShownAndGoesNoFurther)
{
    struct Row {
        void (*failure)();
        const char* message;
        unsigned type;
    };
    const Row rows[] = {
        {[] { throw CFileException(CFileException::diskFull, 28, "/tmp/x.pal"); },
         "Disk full while accessing /tmp/x.pal.", MB_ICONSTOP},
        {[] { throw std::bad_alloc(); }, "Out of memory.", MB_ICONEXCLAMATION},
        {[] { throw std::runtime_error("internal"); }, "Command failed.", MB_ICONSTOP},
    };
    for (const Row& row : rows) {
        ScriptedUserInterface ui;
        const ScopedUserInterface installed(ui);
        Target target;
        target.failure = row.failure;
        EXPECT_TRUE(target.OnCommand(kFails));
        ASSERT_EQ(ui.Asked().size(), 1u) << row.message;
        EXPECT_EQ(ui.Asked()[0].text, row.message);
        EXPECT_EQ(ui.Asked()[0].type, row.type);
    }
}

} // namespace
