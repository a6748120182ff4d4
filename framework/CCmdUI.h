#pragma once

#include <string>
#include <utility>

// The enable and check state of one command, and the text of its menu item
// where that changes, as its enable rule sets them. The host makes one for
// a command id, has the route update it, and then shows what it reads here. Until a rule or a
// handler enables it, a command is disabled: a command nothing handles is shown disabled.
class CCmdUI {
public:
    enum Check { unchecked = 0, checked = 1, indeterminate = 2 };

    explicit CCmdUI(unsigned id) : m_nID(id) {}

    void Enable(bool on = true)
    {
        m_bEnabled = on;
        m_bEnableChanged = true;
    }
    void SetCheck(int check = checked)
    {
        m_nCheck = check;
        m_bCheckChanged = true;
    }
    // The item's whole text, with its mnemonic and, after a tab, its key.
    void SetText(std::string text)
    {
        m_strText = std::move(text);
        m_bTextChanged = true;
    }

    bool IsEnabled() const { return m_bEnabled; }
    int GetCheck() const { return m_nCheck; }
    // Whether anything set the state: the route stops at the first target
    // that does.
    bool IsEnableChanged() const { return m_bEnableChanged; }
    bool IsCheckChanged() const { return m_bCheckChanged; }
    const std::string& GetText() const { return m_strText; }
    bool IsTextChanged() const { return m_bTextChanged; }

    const unsigned m_nID;

private:
    bool m_bEnabled = false;
    bool m_bEnableChanged = false;
    int m_nCheck = unchecked;
    bool m_bCheckChanged = false;
    std::string m_strText;
    bool m_bTextChanged = false;
};
