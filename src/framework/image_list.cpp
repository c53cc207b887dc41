#include "framework/image_list.h"

#include "base/error.h"
#include "framework/handles.h"

#include <cstring>

namespace {

// The header of a 32-bit top-down DIB of that size.
BITMAPINFO TopDown32(int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}   // namespace

ImageList::ImageList(Component* owner, int width, int height)
    : Component(owner), handle_(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 4, 4)), width_(width),
      height_(height)
{
    if (!handle_) {
        throw Error("ImageList_Create failed");
    }
}

ImageList::~ImageList()
{
    ImageList_Destroy(handle_);
}

int ImageList::Count() const
{
    return ImageList_GetImageCount(handle_);
}

void ImageList::Clear()
{
    ImageList_RemoveAll(handle_);
    ++revision_;
}

void ImageList::SetSize(int width, int height)
{
    if (width == width_ && height == height_) {
        return;
    }
    ImageList_SetIconSize(handle_, width, height);   // removes every image
    width_ = width;
    height_ = height;
    ++revision_;
}

int ImageList::AddIcon(HICON icon)
{
    if (!icon) {
        return -1;
    }
    // ImageList_AddIcon scales a larger icon down to the list's size.
    return ImageList_AddIcon(handle_, icon);
}

std::optional<Picture> ImageList::ReadPicture(HICON icon) const
{
    return ReadPicture(icon, width_, height_);
}

std::optional<Picture> ImageList::ReadPicture(HICON icon, int listWidth, int listHeight)
{
    // Read from the icon's own bitmaps and scaled here: ten times cheaper than having the
    // platform draw it into a list and reading that back.
    ICONINFO parts{};
    if (!icon || !GetIconInfo(icon, &parts)) {
        return std::nullopt;
    }
    UniqueBitmap colour(parts.hbmColor);   // owned: GetIconInfo made copies
    UniqueBitmap mask(parts.hbmMask);
    BITMAP maskSize{};
    if (!mask || !GetObjectA(mask.Get(), sizeof maskSize, &maskSize) || maskSize.bmWidth <= 0) {
        return std::nullopt;
    }
    // A monochrome icon has no colour bitmap: its mask holds the AND rows above the XOR rows.
    const int width = maskSize.bmWidth;
    const int height = colour ? maskSize.bmHeight : maskSize.bmHeight / 2;
    if (height <= 0) {
        return std::nullopt;
    }
    const std::size_t count = static_cast<std::size_t>(width) * height;
    UniqueDC dc(CreateCompatibleDC(nullptr));
    std::vector<std::uint32_t> maskPixels(count * (colour ? 1 : 2));
    BITMAPINFO info = TopDown32(width, maskSize.bmHeight);
    if (GetDIBits(dc.Get(), mask.Get(), 0, maskSize.bmHeight, maskPixels.data(), &info, DIB_RGB_COLORS) !=
        maskSize.bmHeight) {
        return std::nullopt;
    }
    Picture source{width, height, std::vector<std::uint32_t>(count), std::vector<std::uint8_t>(count)};
    if (colour) {
        info = TopDown32(width, height);
        if (GetDIBits(dc.Get(), colour.Get(), 0, height, source.pixels.data(), &info, DIB_RGB_COLORS) !=
            height) {
            return std::nullopt;
        }
    } else {
        for (std::size_t i = 0; i < count; ++i) {
            source.pixels[i] = maskPixels[count + i] & 0xFFFFFFu;
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        source.transparent[i] = (maskPixels[i] & 0xFFFFFFu) != 0;   // white in the mask
    }
    return ScalePicture(source, listWidth, listHeight);
}

int ImageList::AddPictures(const std::vector<const Picture*>& pictures)
{
    if (pictures.empty()) {
        return -1;
    }
    const PictureStrip strip = ComposeStrip(pictures, width_, height_);
    const BITMAPINFO info = TopDown32(strip.width, strip.height);
    void* bits = nullptr;
    UniqueBitmap image(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueBitmap mask(::CreateBitmap(strip.width, strip.height, 1, 1, strip.mask.data()));
    if (!image || !mask) {
        return -1;
    }
    std::memcpy(bits, strip.pixels.data(), strip.pixels.size() * sizeof strip.pixels[0]);
    return ImageList_Add(handle_, image.Get(), mask.Get());
}

HBITMAP ImageList::CreateBitmap(int index) const
{
    if (index < 0 || index >= Count()) {
        return nullptr;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;   // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueDC dc(CreateCompatibleDC(nullptr));
    HBITMAP bitmap = CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) {
        return nullptr;
    }
    std::memset(bits, 0, static_cast<size_t>(width_) * height_ * 4);
    {
        const SelectedObject drawnOn(dc.Get(), bitmap);
        ImageList_Draw(handle_, index, dc.Get(), 0, 0, ILD_TRANSPARENT);
    }
    GdiFlush();

    // Drawing through a mask leaves alpha 0 on images without an alpha channel of their
    // own: give every drawn pixel full alpha so that the menu shows it.
    auto* pixels = static_cast<DWORD*>(bits);
    bool anyAlpha = false;
    for (int i = 0; i < width_ * height_; ++i) {
        anyAlpha = anyAlpha || (pixels[i] & 0xFF000000u);
    }
    if (!anyAlpha) {
        // Without alpha, tell drawn pixels from the untouched background by a second
        // drawing on white: a pixel that differs between the two is transparent.
        UniqueBitmap probe(CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (probe) {
            auto* white = static_cast<DWORD*>(bits);
            std::memset(white, 0xFF, static_cast<size_t>(width_) * height_ * 4);
            {
                const SelectedObject drawnOn(dc.Get(), probe.Get());
                ImageList_Draw(handle_, index, dc.Get(), 0, 0, ILD_TRANSPARENT);
            }
            GdiFlush();
            for (int i = 0; i < width_ * height_; ++i) {
                bool transparent = (pixels[i] & 0xFFFFFF) != (white[i] & 0xFFFFFF);
                pixels[i] = transparent ? 0 : (pixels[i] | 0xFF000000u);
            }
        }
    }
    return bitmap;
}
