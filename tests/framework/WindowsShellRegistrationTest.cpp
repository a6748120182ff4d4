#include "framework/WindowsShellRegistration.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

// A root of the test's own below HKEY_CURRENT_USER, never the user's classes.
const std::wstring kRoot = L"Software\\PalvaneTest";
const std::wstring kClasses = kRoot + L"\\Classes";

std::optional<std::wstring> Value(const std::wstring& key, const wchar_t* name = nullptr)
{
    wchar_t buffer[1024];
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_CURRENT_USER, (kRoot + L"\\" + key).c_str(), name, RRF_RT_REG_SZ, nullptr,
                     buffer, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(buffer);
}

void SetValue(const std::wstring& key, const std::wstring& data)
{
    RegSetKeyValueW(HKEY_CURRENT_USER, (kRoot + L"\\" + key).c_str(), nullptr, REG_SZ, data.c_str(),
                    static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

struct Row {
    const char* name;
    std::wstring userExtension; // ".cmp" as the user left it; empty: none
    std::wstring expectedExtension;
};

class WindowsShellRegistrationTest : public ::testing::TestWithParam<Row> {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kRoot.c_str()); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kRoot.c_str()); }
    WindowsShellRegistration registration{kClasses, kRoot};
};

TEST_P(WindowsShellRegistrationTest, WritesTheTypeAndRemovesOnlyWhatIsOurs)
{
    const Row& row = GetParam();
    if (!row.userExtension.empty())
        SetValue(L"Classes\\.cmp", row.userExtension);
    SetValue(L"Quorvath\\Palvane\\Recent File List", L"");
    SetValue(L"Quorvath\\Other", L"kept");
    const std::wstring program = L"C:\\windows\\notepad.exe";

    ASSERT_TRUE(registration.Register(program));
    ASSERT_TRUE(registration.Register(program));
    const std::wstring command = L"\"" + program + L"\" /dde";
    EXPECT_EQ(Value(L"Classes\\JediKnight.CMP"), L"Jedi Knight CMP");
    EXPECT_EQ(Value(L"Classes\\JediKnight.CMP\\shell\\open\\command"), command + L" \"%1\"");
    EXPECT_EQ(Value(L"Classes\\JediKnight.CMP\\shell\\print\\command"), command + L" /p \"%1\"");
    EXPECT_EQ(Value(L"Classes\\JediKnight.CMP\\shell\\printto\\command"),
              command + L" /pt \"%1\" \"%2\" \"%3\" \"%4\"");
    EXPECT_EQ(Value(L"Classes\\JediKnight.CMP\\DefaultIcon").value_or(L"").rfind(program, 0), 0u);
    EXPECT_EQ(Value(L"Classes\\.cmp"), row.expectedExtension);
    EXPECT_EQ(Value(L"Classes\\.cmp\\ShellNew", L"NullFile").has_value(),
              row.expectedExtension == L"JediKnight.CMP");

    EXPECT_TRUE(registration.Unregister());
    EXPECT_FALSE(Value(L"Classes\\JediKnight.CMP").has_value());
    EXPECT_EQ(Value(L"Classes\\.cmp").has_value(), row.expectedExtension != L"JediKnight.CMP");
    EXPECT_FALSE(Value(L"Quorvath\\Palvane\\Recent File List").has_value());
    EXPECT_EQ(Value(L"Quorvath\\Other"), L"kept");
}

INSTANTIATE_TEST_SUITE_P(Extension, WindowsShellRegistrationTest,
                         ::testing::Values(Row{"None", L"", L"JediKnight.CMP"},
                                           Row{"Ours", L"JediKnight.CMP", L"JediKnight.CMP"},
                                           Row{"TheUsersOwn", L"Other.Type", L"Other.Type"}),
                         [](const ::testing::TestParamInfo<Row>& info) {
                             return std::string(info.param.name);
                         });

TEST(WindowsShellRegistrationOrganisation, GoesWithTheLastSettings)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, kRoot.c_str());
    SetValue(L"Quorvath\\Palvane\\Settings", L"");
    EXPECT_TRUE(WindowsShellRegistration(kClasses, kRoot).Unregister());
    HKEY handle = nullptr;
    EXPECT_NE(
        RegOpenKeyExW(HKEY_CURRENT_USER, (kRoot + L"\\Quorvath").c_str(), 0, KEY_READ, &handle),
        ERROR_SUCCESS);
    RegDeleteTreeW(HKEY_CURRENT_USER, kRoot.c_str());
}

} // namespace
