// The program's resources as the shell and the loader see them. This test program is linked
// with the same resource object as Mivtra.exe, so its own file carries them.
#include "framework/display_dpi.h"
#include "program_icons.h"

#include <windows.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

struct GdiDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using UniqueGdi = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, GdiDeleter>;

struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using UniqueDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

// GetIconInfo hands out two bitmaps that the caller must delete.
struct IconBitmaps {
    explicit IconBitmaps(HICON icon) { ok = GetIconInfo(icon, &info) != FALSE; }
    ~IconBitmaps()
    {
        if (info.hbmMask) {
            DeleteObject(info.hbmMask);
        }
        if (info.hbmColor) {
            DeleteObject(info.hbmColor);
        }
    }
    IconBitmaps(const IconBitmaps&) = delete;
    IconBitmaps& operator=(const IconBitmaps&) = delete;
    ICONINFO info{};
    bool ok = false;
};

static const char* const kIconNames[] = {"MAINICON", "MICON91", "MICON92", "MICON93"};

static std::string OwnPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

static BITMAPINFO TopDown32(int width, int height)
{
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    return bmi;
}

// The icon as it appears on screen: drawn at size x size onto a magenta ground, so that
// transparent parts must match too.
static std::vector<uint32_t> Pixels(HICON icon, int size)
{
    BITMAPINFO bmi = TopDown32(size, size);
    void* bits = nullptr;
    UniqueDc dc(CreateCompatibleDC(nullptr));
    UniqueGdi dib(CreateDIBSection(dc.get(), &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc || !dib || !bits) {
        return {};
    }
    HGDIOBJ old = SelectObject(dc.get(), dib.get());
    auto* pixels = static_cast<uint32_t*>(bits);
    std::fill(pixels, pixels + size * size, 0x00FF00FFu);
    DrawIconEx(dc.get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    GdiFlush();
    std::vector<uint32_t> out(pixels, pixels + size * size);
    SelectObject(dc.get(), old);
    return out;
}

static int IconWidth(HICON icon)
{
    IconBitmaps bitmaps(icon);
    BITMAP bm{};
    if (!bitmaps.ok || !GetObjectA(bitmaps.info.hbmMask, sizeof(bm), &bm)) {
        return 0;
    }
    return bm.bmWidth;
}

static UniqueIcon Named(const char* name, int size)
{
    return UniqueIcon(
        static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_ICON, size, size, 0)));
}

static BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR names) noexcept
{
    try {
        auto* list = reinterpret_cast<std::vector<std::string>*>(names);
        list->push_back(IS_INTRESOURCE(name) ? "#" + std::to_string(LOWORD(name)) : name);
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

TEST(ProgramIcons, FileHoldsFourIconGroupsSortedByName)
{
    std::vector<std::string> names;
    EnumResourceNamesA(nullptr, RT_GROUP_ICON, CollectName, reinterpret_cast<LONG_PTR>(&names));
    EXPECT_EQ(names, (std::vector<std::string>{"MAINICON", "MICON91", "MICON92", "MICON93"}));

    const std::string path = OwnPath();
    HINSTANCE self = GetModuleHandleA(nullptr);
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(ExtractIconA(self, path.c_str(), UINT(-1))), 4u);
    for (UINT i = 0; i < 4; ++i) {
        UniqueIcon icon(ExtractIconA(self, path.c_str(), i));
        EXPECT_NE(icon, nullptr) << "position " << i;
    }
    EXPECT_EQ(UniqueIcon(ExtractIconA(self, path.c_str(), 4)), nullptr);
}

// Each group carries a drawn image with alpha for the small icon at 100 %, 125 % and 150 %
// display scaling and the large one at 100 % and 150 %; a missing size would be scaled from
// another, which blurs the small pictures in menus, the tree and the tray.
TEST(ProgramIcons, EachGroupHasItsOwnImageOfEachSize)
{
    for (const char* name : kIconNames) {
        SCOPED_TRACE(name);
        HRSRC group = FindResourceA(nullptr, name, RT_GROUP_ICON);
        ASSERT_NE(group, nullptr);
        const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, group)));
        ASSERT_NE(bytes, nullptr);
        const DWORD size = SizeofResource(nullptr, group);
        ASSERT_GE(size, 6u);
        const int count = bytes[4] | bytes[5] << 8;
        ASSERT_EQ(size, 6u + 14u * count);         // header, then one 14-byte entry per image
        std::vector<std::pair<int, int>> images;   // (width, bits per pixel)
        for (int i = 0; i < count; ++i) {
            const BYTE* entry = bytes + 6 + 14 * i;
            EXPECT_EQ(entry[0], entry[1]) << "square";
            images.emplace_back(entry[0], entry[6] | entry[7] << 8);
        }
        std::sort(images.begin(), images.end());
        EXPECT_EQ(images,
                  (std::vector<std::pair<int, int>>{{16, 32}, {20, 32}, {24, 32}, {32, 32}, {48, 32}}));
    }
}

// The pictures must differ from each other, or matching one by name below would prove nothing.
TEST(ProgramIcons, PicturesAreDistinctAtBothSizes)
{
    for (int size : {16, 32}) {
        std::vector<std::vector<uint32_t>> pictures;
        for (const char* name : kIconNames) {
            UniqueIcon icon = Named(name, size);
            ASSERT_NE(icon, nullptr) << name;
            pictures.push_back(Pixels(icon.get(), size));
            ASSERT_EQ(pictures.back().size(), size_t(size * size));
        }
        for (size_t a = 0; a < pictures.size(); ++a) {
            for (size_t b = a + 1; b < pictures.size(); ++b) {
                EXPECT_NE(pictures[a], pictures[b]) << kIconNames[a] << " and " << kIconNames[b];
            }
        }
    }
}

// Position i, as the launcher dialog and the task menu take it, shows the picture of the i-th
// name: 2 the closed folder, 1 the open one, 3 the window. ExtractIconA gives the large
// (32 x 32) image and ExtractIconExA the small one; both count positions the same way.
TEST(ProgramIcons, PositionShowsTheIconOfThatName)
{
    const std::string path = OwnPath();
    for (UINT i = 0; i < 4; ++i) {
        SCOPED_TRACE(kIconNames[i]);
        UniqueIcon large(ExtractIconA(GetModuleHandleA(nullptr), path.c_str(), i));
        ASSERT_NE(large, nullptr);
        const int largeSize = IconWidth(large.get());
        ASSERT_GT(largeSize, 0);
        UniqueIcon namedLarge = Named(kIconNames[i], largeSize);
        const std::vector<uint32_t> extracted = Pixels(large.get(), largeSize);
        ASSERT_EQ(extracted.size(), size_t(largeSize * largeSize));
        EXPECT_EQ(extracted, Pixels(namedLarge.get(), largeSize));

        HICON smallHandle = nullptr;
        ASSERT_EQ(ExtractIconExA(path.c_str(), int(i), nullptr, &smallHandle, 1), 1u);
        UniqueIcon small(smallHandle);
        EXPECT_EQ(IconWidth(small.get()), 16);
        UniqueIcon namedSmall = Named(kIconNames[i], 16);
        const std::vector<uint32_t> extractedSmall = Pixels(small.get(), 16);
        ASSERT_EQ(extractedSmall.size(), 256u);
        EXPECT_EQ(extractedSmall, Pixels(namedSmall.get(), 16));
    }
}

// What the launcher dialog and the task menu take from the positions program_icons.h names, told
// apart by colour: folders are yellow, only the open one shows the white sheet inside, and the
// window is white with a blue title bar and no yellow.
TEST(ProgramIcons, TheNamedPositionsShowOpenFolderClosedFolderWindow)
{
    struct Census {
        int yellow = 0, white = 0, blue = 0;
    };
    const std::string path = OwnPath();
    std::vector<Census> seen;
    for (int position : {kOpenFolderIconPosition, kClosedFolderIconPosition, kWindowIconPosition}) {
        HICON smallHandle = nullptr;
        ASSERT_EQ(ExtractIconExA(path.c_str(), position, nullptr, &smallHandle, 1), 1u);
        UniqueIcon icon(smallHandle);
        Census census;
        for (uint32_t pixel : Pixels(icon.get(), 16)) {
            const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
            census.yellow += r >= 200 && g >= 140 && b <= 120;
            census.white += r >= 240 && g >= 240 && b >= 240;
            census.blue += b >= 160 && r <= 80;
        }
        seen.push_back(census);
    }
    EXPECT_GE(seen[0].yellow, 40) << "an open folder";
    EXPECT_GE(seen[0].white, 4) << "the sheet in the open folder";
    EXPECT_GE(seen[1].yellow, 40) << "a closed folder";
    EXPECT_EQ(seen[1].white, 0) << "a closed folder shows nothing inside";
    EXPECT_EQ(seen[2].yellow, 0) << "a window";
    EXPECT_GE(seen[2].white, 40) << "the window's client area";
    EXPECT_GE(seen[2].blue, 10) << "the window's title bar";
}

TEST(HandCursor, IsMonochromeWithHotSpotAtTheFingertip)
{
    HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), "HANDPOINT");   // shared: not destroyed
    ASSERT_NE(hand, nullptr) << GetLastError();
    IconBitmaps bitmaps(hand);
    ASSERT_TRUE(bitmaps.ok);
    EXPECT_FALSE(bitmaps.info.fIcon);
    EXPECT_EQ(bitmaps.info.xHotspot, 7u);
    EXPECT_EQ(bitmaps.info.yHotspot, 1u);
    // A monochrome cursor has no colour bitmap: the mask holds AND above XOR, twice as high.
    EXPECT_EQ(bitmaps.info.hbmColor, nullptr);
    BITMAP bm{};
    ASSERT_TRUE(GetObjectA(bitmaps.info.hbmMask, sizeof(bm), &bm));
    ASSERT_EQ(bm.bmWidth, 32);
    ASSERT_EQ(bm.bmHeight, 64);

    std::vector<uint32_t> mask(32 * 64);
    BITMAPINFO bmi = TopDown32(32, 64);
    UniqueDc dc(CreateCompatibleDC(nullptr));
    ASSERT_EQ(GetDIBits(dc.get(), bitmaps.info.hbmMask, 0, 64, mask.data(), &bmi, DIB_RGB_COLORS), 64);
    auto andBit = [&](int x, int y) { return (mask[y * 32 + x] & 0xFFFFFF) != 0; };
    auto xorBit = [&](int x, int y) { return (mask[(y + 32) * 32 + x] & 0xFFFFFF) != 0; };
    // The hot spot is the topmost pixel of the finger's black outline; above it, nothing.
    EXPECT_FALSE(andBit(7, 1));
    EXPECT_FALSE(xorBit(7, 1));
    EXPECT_TRUE(andBit(7, 0));
    EXPECT_FALSE(xorBit(7, 0));
    // Just below the tip the finger is white.
    EXPECT_FALSE(andBit(7, 2));
    EXPECT_TRUE(xorBit(7, 2));
}

class VersionBlock : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string path = OwnPath();
        DWORD handle = 0;
        DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
        ASSERT_GT(size, 0u) << GetLastError();
        data_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, data_.data()));
        std::wstring widePath(path.begin(), path.end());   // the build path is plain ASCII
        size = GetFileVersionInfoSizeW(widePath.c_str(), &handle);
        ASSERT_GT(size, 0u);
        wideData_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(widePath.c_str(), 0, size, wideData_.data()));
    }

    std::string String(const char* name)
    {
        std::string key = std::string("\\StringFileInfo\\041104B0\\") + name;
        char* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(data_.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) || !value) {
            return "<missing>";
        }
        return value;
    }

    std::wstring WideString(const wchar_t* name)
    {
        std::wstring key = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
        wchar_t* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(wideData_.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) ||
            !value) {
            return L"<missing>";
        }
        return value;
    }

    std::vector<char> data_;
    std::vector<char> wideData_;
};

TEST_F(VersionBlock, NumbersAndTranslationAreVersion202Japanese)
{
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data_.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, DWORD(MAKELONG(2, 2)));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, DWORD(MAKELONG(2, 2)));
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(data_.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0411);
    EXPECT_EQ(translation[1], 1200);
}

TEST_F(VersionBlock, StringsReadBackExactly)
{
    EXPECT_EQ(String("FileVersion"), "2.02");
    EXPECT_EQ(String("ProductVersion"), "2.02");
    EXPECT_EQ(String("ProductName"), "Mivtra");
    EXPECT_EQ(String("OriginalFilename"), "Mivtra.exe");
    EXPECT_EQ(String("InternalName"), "Mivtra");
    EXPECT_NE(String("LegalCopyright"), "<missing>");
}

// The resource script is UTF-8; a wrong code page on the way turns the Japanese into mojibake,
// which only a look at the stored UTF-16 and at the program's own code page shows.
TEST_F(VersionBlock, JapaneseDescriptionSurvivesTheResourceCompiler)
{
    EXPECT_EQ(WideString(L"FileDescription"), L"Mivtra ランチャ");
    ASSERT_EQ(GetACP(), 932u) << "the tests must run with the Japanese ANSI code page";
    EXPECT_EQ(String("FileDescription"), "Mivtra ランチャ");   // Shift-JIS, as the A calls see it
}

// The manifest must name the version 6 common controls exactly (name, version, architecture,
// key): a typo is silently ignored and leaves the old controls in place. The loader then
// redirects comctl32.dll to the side-by-side copy. (Asking the loaded DLL for its version
// would not do: Wine's copy of version 6 reports 5.81.)
TEST(Manifest, RedirectsCommonControlsToVersion6)
{
    HRSRC manifest = FindResourceA(nullptr, MAKEINTRESOURCEA(1), RT_MANIFEST);
    ASSERT_NE(manifest, nullptr);
    EXPECT_GT(SizeofResource(nullptr, manifest), 0u);

    ACTCTX_SECTION_KEYED_DATA redirection{};
    redirection.cbSize = sizeof(redirection);
    EXPECT_TRUE(FindActCtxSectionStringA(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                         "comctl32.dll", &redirection))
        << GetLastError();
}

// The loader reads the DPI settings as written (a misspelt one is ignored without a word), and
// the process sees each monitor's DPI (which Wine 8 gives every process: see the README).
TEST(Manifest, DeclaresEachMonitorsDpiAndTheProcessSeesIt)
{
    wchar_t awareness[64] = L"", aware[64] = L"";
    EXPECT_TRUE(QueryActCtxSettingsW(0, nullptr, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings",
                                     L"dpiAwareness", awareness, 64, nullptr));
    EXPECT_TRUE(QueryActCtxSettingsW(0, nullptr, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings",
                                     L"dpiAware", aware, 64, nullptr));
    EXPECT_STREQ(L"PerMonitorV2, PerMonitor", awareness);
    EXPECT_STREQ(L"true/pm", aware);
    EXPECT_GE(ThreadDpiAwareness(), DpiAwareness::PerMonitor);
}
