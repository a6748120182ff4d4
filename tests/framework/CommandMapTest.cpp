// Command maps: which rows a target has, what its enable rules say, and what
// becomes of a command that fails. The document's tests show that a disabled
// command is not run.

#include "framework/CCmdTarget.h"
#include "framework/CCmdUI.h"
#include "framework/CFileException.h"
#include "framework/ScriptedUserInterface.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace {

enum : unsigned { kRuled = 100, kAlways, kCheckOnly, kFails, kUnknown };

class Target : public CCmdTarget {
public:
    void OnRuled() { ran.push_back(kRuled); }
    void OnUpdateRuled(CCmdUI* cmdUI) { cmdUI->Enable(ruledEnabled); }
    void OnAlways() { ran.push_back(kAlways); }
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
    {kCheckOnly, &Target::OnAlways, &Target::OnUpdateCheckOnly},
    {kFails, &Target::OnFails},
};
const CommandMap Target::commandMap{&CCmdTarget::commandMap, kTargetCommands};

// Its own row for kRuled comes before the one it inherits.
class Derived : public Target {
public:
    void OnDerivedRuled() { ran.push_back(kRuled + 1000); }
    static const CommandMap commandMap;

protected:
    const CommandMap* GetCommandMap() const override { return &commandMap; }
};

const CommandMapEntry kDerivedCommands[] = {
    {kRuled, &Derived::OnDerivedRuled, &Derived::OnUpdateRuled},
};
const CommandMap Derived::commandMap{&Target::commandMap, kDerivedCommands};

TEST(CommandMapTest, RowsAnswerForTheirCommandsOnly)
{
    struct Row {
        unsigned id;
        bool ruledEnabled;
        bool hasRow, enabled, checked;
        unsigned ran;
    };
    for (const Row& row : {Row{kRuled, false, true, false, false, kRuled + 1000},
                           Row{kRuled, true, true, true, false, kRuled + 1000},
                           Row{kAlways, false, true, true, false, kAlways},
                           Row{kCheckOnly, false, true, true, true, kAlways},
                           Row{kUnknown, true, false, false, false, 0}}) {
        Derived target;
        target.ruledEnabled = row.ruledEnabled;
        CCmdUI state(row.id);
        EXPECT_EQ(target.OnUpdateCmdUI(state), row.hasRow) << row.id;
        EXPECT_EQ(state.IsEnabled(), row.enabled) << row.id;
        EXPECT_EQ(state.GetCheck() == CCmdUI::checked, row.checked) << row.id;
        EXPECT_EQ(target.OnCmdMsg(row.id), row.hasRow) << row.id;
        EXPECT_EQ(target.ran,
                  row.ran != 0 ? std::vector<unsigned>{row.ran} : std::vector<unsigned>{});
    }
}

TEST(CommandMapTest, AnErrorEscapingACommandIsShownAndGoesNoFurther)
{
    struct Row {
        void (*failure)();
        const char* message;
        unsigned type;
    };
    for (const Row& row :
         {Row{[] { throw CFileException(CFileException::diskFull, 28, "/tmp/x.pal"); },
              "Disk full while accessing /tmp/x.pal.", MB_ICONSTOP},
          Row{[] { throw std::bad_alloc(); }, "Out of memory.", MB_ICONEXCLAMATION},
          Row{[] { throw std::runtime_error("internal"); }, "Command failed.", MB_ICONSTOP}}) {
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
