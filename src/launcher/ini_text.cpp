#include "launcher/ini_text.h"

#include <windows.h>

#include <cstring>

// LAUNCH.INI is Shift-JIS whatever the system's ANSI code page.
static constexpr UINT kIniCodePage = 932;
static constexpr char kUtf16Mark[] = "\xFF\xFE";

bool StartsWithUtf16Mark(const std::string& bytes)
{
    return bytes.size() >= 2 && bytes.compare(0, 2, kUtf16Mark, 2) == 0;
}

static std::string Utf16ToIniText(const std::string& bytes)
{
    const std::size_t units = (bytes.size() - 2) / 2;
    if (units == 0) {
        return {};
    }
    std::wstring wide(units, L'\0');
    std::memcpy(&wide[0], bytes.data() + 2, units * 2);
    const int length = WideCharToMultiByte(kIniCodePage, 0, wide.data(), static_cast<int>(units), nullptr, 0,
                                           nullptr, nullptr);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(kIniCodePage, 0, wide.data(), static_cast<int>(units), &text[0], length, nullptr,
                        nullptr);
    return text;
}

bool IniTextToUtf16(const std::string& text, std::string& bytes)
{
    bytes.assign(kUtf16Mark, 2);
    if (text.empty()) {
        return true;
    }
    const int units =
        MultiByteToWideChar(kIniCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (units <= 0) {
        return false;
    }
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(kIniCodePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], units);
    bytes.append(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
    return true;
}

IniDocument ParseIniFileBytes(const std::string& bytes)
{
    if (StartsWithUtf16Mark(bytes)) {
        return IniDocument::Parse(Utf16ToIniText(bytes));
    }
    return IniDocument::Parse(bytes);
}
