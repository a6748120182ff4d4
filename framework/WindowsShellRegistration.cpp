#include "framework/WindowsShellRegistration.h"

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <utility>
#include <vector>

namespace {

const std::wstring kTypeId = L"JediKnight.CMP";
const std::wstring kExtension = L".cmp";
const std::wstring kOrganisation = L"Quorvath";
const std::wstring kApplication = L"Palvane";

struct RegistryValue {
    std::wstring key;  // below the classes key
    std::wstring name; // empty: the key's default value
    std::wstring data;
};

bool KeyExists(const std::wstring& key)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

// The string value, or nothing when it is missing or not a string.
bool ReadString(const std::wstring& key, const std::wstring& name, std::wstring& data)
{
    DWORD size = 0;
    const wchar_t* valueName = name.empty() ? nullptr : name.c_str();
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), valueName, RRF_RT_REG_SZ, nullptr, nullptr,
                     &size) != ERROR_SUCCESS)
        return false;
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1);
    size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), valueName, RRF_RT_REG_SZ, nullptr,
                     buffer.data(), &size) != ERROR_SUCCESS)
        return false;
    data = buffer.data();
    return true;
}

// Writes the value unless it already holds `data`; `changed` tells.
bool WriteString(const std::wstring& key, const std::wstring& name, const std::wstring& data,
                 bool& changed)
{
    std::wstring current;
    if (ReadString(key, name, current) && current == data)
        return true;
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &handle, nullptr) != ERROR_SUCCESS)
        return false;
    const LONG result = RegSetValueExW(handle, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(data.c_str()),
                                       static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    changed = true;
    return result == ERROR_SUCCESS;
}

// Deletes the key only when it holds neither subkeys nor values.
void DeleteIfEmpty(const std::wstring& key)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return;
    DWORD subkeys = 0;
    DWORD values = 0;
    const LONG result = RegQueryInfoKeyW(handle, nullptr, nullptr, nullptr, &subkeys, nullptr,
                                         nullptr, &values, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(handle);
    if (result == ERROR_SUCCESS && subkeys == 0 && values == 0)
        RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
}

std::wstring ShortPath(const std::wstring& path)
{
    const DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (size == 0)
        return path;
    std::vector<wchar_t> buffer(size);
    if (GetShortPathNameW(path.c_str(), buffer.data(), size) == 0)
        return path;
    return buffer.data();
}

} // namespace

WindowsShellRegistration::WindowsShellRegistration(std::wstring classes, std::wstring software)
    : m_classes(std::move(classes)), m_software(std::move(software))
{
}

std::wstring WindowsShellRegistration::ExecutablePath()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::wstring();
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

bool WindowsShellRegistration::Register(const std::wstring& executable) const
{
    if (executable.empty())
        return false;
    const std::wstring path = ShortPath(executable);
    // The document icon is the second one in the program, when it has two.
    const UINT icons = ExtractIconExW(executable.c_str(), -1, nullptr, nullptr, 0);
    const std::wstring command = L"\"" + path + L"\" /dde";
    const std::wstring type = m_classes + L"\\" + kTypeId;
    // The requests travel with the command line: no DDE conversation is
    // offered, so no "ddeexec" key makes the shell wait for one.
    const RegistryValue values[] = {
        {type, L"", L"Jedi Knight CMP"},
        {type + L"\\DefaultIcon", L"", path + (icons >= 2 ? L",1" : L",0")},
        {type + L"\\shell\\open\\command", L"", command + L" \"%1\""},
        {type + L"\\shell\\print\\command", L"", command + L" /p \"%1\""},
        {type + L"\\shell\\printto\\command", L"", command + L" /pt \"%1\" \"%2\" \"%3\" \"%4\""},
    };
    bool changed = false;
    bool written = true;
    for (const RegistryValue& value : values)
        if (written && !WriteString(value.key, value.name, value.data, changed))
            written = false;

    // ".cmp" goes to the type only when the user has not given it another.
    const std::wstring extension = m_classes + L"\\" + kExtension;
    std::wstring current;
    if (written && (!ReadString(extension, L"", current) || current.empty() || current == kTypeId))
        written = WriteString(extension, L"", kTypeId, changed) &&
                  WriteString(extension + L"\\ShellNew", L"NullFile", L"", changed);
    if (changed)
        SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    return written;
}

bool WindowsShellRegistration::Unregister() const
{
    const std::wstring type = m_classes + L"\\" + kTypeId;
    const std::wstring extension = m_classes + L"\\" + kExtension;
    const std::wstring organisation = m_software + L"\\" + kOrganisation;
    const std::wstring settings = organisation + L"\\" + kApplication;

    RegDeleteTreeW(HKEY_CURRENT_USER, type.c_str());
    std::wstring current;
    if (ReadString(extension, L"", current) && current == kTypeId) {
        RegDeleteTreeW(HKEY_CURRENT_USER, (extension + L"\\ShellNew").c_str());
        HKEY handle = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, extension.c_str(), 0, KEY_SET_VALUE, &handle) ==
            ERROR_SUCCESS) {
            RegDeleteValueW(handle, nullptr);
            RegCloseKey(handle);
        }
        DeleteIfEmpty(extension);
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, settings.c_str());
    DeleteIfEmpty(organisation);
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);

    const bool extensionOurs = ReadString(extension, L"", current) && current == kTypeId;
    return !KeyExists(type) && !extensionOurs && !KeyExists(settings);
}
