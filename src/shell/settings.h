// The general settings in the registry: a key under HKEY_CURRENT_USER whose "sections" are
// subkeys, every value a REG_SZ string.
#pragma once

#include "framework/handles.h"

#include <windows.h>

#include <string>

class SettingsKey {
public:
    // Opens the key, creating it when missing. Failing that, every read gives its default
    // and every write fails with the key's error.
    explicit SettingsKey(std::string path, HKEY root = HKEY_CURRENT_USER);

    // Missing section or value: the fallback. REG_SZ/REG_EXPAND_SZ: the integer it holds,
    // or the fallback when it holds none. Any other type raises "'%s' のデータ型が不正です".
    int ReadInteger(const char* section, const char* name, int fallback) const;
    bool ReadBool(const char* section, const char* name, bool fallback) const
    {
        return ReadInteger(section, name, fallback ? 1 : 0) != 0;
    }

    // Creates the section when missing ("キー %s の作成に失敗しました"), then stores the
    // decimal text with its terminating NUL ("'%s' の設定に失敗しました").
    void WriteInteger(const char* section, const char* name, int value) const;
    void WriteBool(const char* section, const char* name, bool value) const
    {
        WriteInteger(section, name, value ? 1 : 0);
    }

private:
    std::string path_;
    UniqueKey key_;   // owned
};
