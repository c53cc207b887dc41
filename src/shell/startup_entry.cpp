#include "shell/startup_entry.h"

#include "base/error.h"
#include "framework/handles.h"
#include "framework/module_path.h"
#include "shell/startup_rule.h"

#include <cstring>
#include <optional>
#include <vector>

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kApprovedKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
constexpr wchar_t kValueName[] = L"Mivtra";

constexpr char kWriteFailed[] = "Windows と同時に起動する設定を書き込めませんでした";
constexpr char kRemoveFailed[] = "Windows と同時に起動する設定を削除できませんでした";

// The value's bytes; none when the key or the value is missing, or it has another type.
std::optional<std::vector<BYTE>> ReadValue(HKEY root, const wchar_t* path, DWORD wantedType)
{
    HKEY raw = nullptr;
    if (RegOpenKeyExW(root, path, 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const UniqueKey key(raw);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key.Get(), kValueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::vector<BYTE> data(size);
    if (RegQueryValueExW(key.Get(), kValueName, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    data.resize(size);
    const bool text = type == REG_SZ || type == REG_EXPAND_SZ;
    if (wantedType == REG_SZ ? !text : type != wantedType) {
        return std::nullopt;
    }
    return data;
}

std::optional<std::wstring> ReadRunValue(HKEY root)
{
    const auto data = ReadValue(root, kRunKey, REG_SZ);
    if (!data) {
        return std::nullopt;
    }
    std::wstring text(data->size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), data->data(), text.size() * sizeof(wchar_t));
    // Stored data may or may not carry its NUL; the text ends at the first one either way.
    return text.substr(0, text.find(L'\0'));
}

std::vector<unsigned char> ReadApproval(HKEY root)
{
    auto data = ReadValue(root, kApprovedKey, REG_BINARY);
    return data ? std::vector<unsigned char>(data->begin(), data->end()) : std::vector<unsigned char>();
}

// Removes the value; a missing key or value is no failure.
bool DeleteValue(HKEY root, const wchar_t* path)
{
    HKEY raw = nullptr;
    const LONG opened = RegOpenKeyExW(root, path, 0, KEY_SET_VALUE, &raw);
    if (opened == ERROR_FILE_NOT_FOUND) {
        return true;
    }
    if (opened != ERROR_SUCCESS) {
        return false;
    }
    const UniqueKey key(raw);
    const LONG deleted = RegDeleteValueW(key.Get(), kValueName);
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

}   // namespace

StartupEntry::StartupEntry(HKEY root, std::wstring program) : root_(root), program_(std::move(program)) {}

StartupEntry::StartupEntry() : StartupEntry(HKEY_CURRENT_USER, ModuleFileNameW()) {}

bool StartupEntry::Enabled() const noexcept
{
    try {
        return StartsWithWindows(ReadRunValue(root_), ReadApproval(root_), program_);
    } catch (...) {
        return false;
    }
}

void StartupEntry::Enable() const
{
    if (program_.empty()) {
        throw Error(kWriteFailed);
    }
    HKEY raw = nullptr;
    if (RegCreateKeyExW(root_, kRunKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &raw,
                        nullptr) != ERROR_SUCCESS) {
        throw Error(kWriteFailed);
    }
    const UniqueKey key(raw);
    const std::wstring value = RunValueFor(program_);
    if (RegSetValueExW(key.Get(), kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS) {
        throw Error(kWriteFailed);
    }
    if (ApprovalDisables(ReadApproval(root_)) && !DeleteValue(root_, kApprovedKey)) {
        throw Error(kWriteFailed);
    }
}

void StartupEntry::Disable() const
{
    if (!DeleteValue(root_, kRunKey)) {
        throw Error(kRemoveFailed);
    }
}
