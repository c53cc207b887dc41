#include "shell/settings.h"

#include "base/error.h"
#include "base/integer.h"

#include <algorithm>
#include <vector>

SettingsKey::SettingsKey(std::string path, HKEY root) : path_(std::move(path))
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                        nullptr, &key, nullptr) == ERROR_SUCCESS) {
        key_.Reset(key);
    }
}

int SettingsKey::ReadInteger(const char* section, const char* name, int fallback) const
{
    HKEY raw = nullptr;
    if (!key_ || RegOpenKeyExA(key_.Get(), section, 0, KEY_READ, &raw) != ERROR_SUCCESS) {
        return fallback;
    }
    UniqueKey sectionKey(raw);

    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(sectionKey.Get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return fallback;
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        throw Error(FormatMessageText("'%s' のデータ型が不正です", name));
    }

    std::vector<char> data(size + 1, '\0');
    if (RegQueryValueExA(sectionKey.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &size) != ERROR_SUCCESS) {
        return fallback;
    }
    // Stored data may or may not carry its NUL; the text ends at the first one either way.
    std::string_view text(data.data(), std::min<size_t>(size, data.size() - 1));
    text = text.substr(0, text.find('\0'));
    return ParseIntegerOr(text, fallback);
}

void SettingsKey::WriteInteger(const char* section, const char* name, int value) const
{
    if (!key_) {
        throw Error(FormatMessageText("キー %s の作成に失敗しました", path_));
    }
    HKEY raw = nullptr;
    if (RegCreateKeyExA(key_.Get(), section, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &raw,
                        nullptr) != ERROR_SUCCESS) {
        throw Error(FormatMessageText("キー %s の作成に失敗しました", section));
    }
    UniqueKey sectionKey(raw);
    std::string text = IntegerText(value);
    if (RegSetValueExA(sectionKey.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1)) != ERROR_SUCCESS) {
        throw Error(FormatMessageText("'%s' の設定に失敗しました", name));
    }
}
