#include "framework/image_list.h"

#include "base/error.h"
#include "framework/handles.h"

#include <cstring>

ImageList::ImageList(Component* owner, int width, int height)
    : Component(owner), handle_(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 4, 4)), width_(width),
      height_(height)
{
    if (!handle_)
        throw Error("ImageList_Create failed");
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
}

int ImageList::AddIcon(HICON icon)
{
    if (!icon)
        return -1;
    // ImageList_AddIcon scales a larger icon down to the list's size.
    return ImageList_AddIcon(handle_, icon);
}

HBITMAP ImageList::CreateBitmap(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
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
    if (!bitmap)
        return nullptr;
    std::memset(bits, 0, static_cast<size_t>(width_) * height_ * 4);
    HGDIOBJ previous = SelectObject(dc.Get(), bitmap);
    ImageList_Draw(handle_, index, dc.Get(), 0, 0, ILD_TRANSPARENT);
    SelectObject(dc.Get(), previous);
    GdiFlush();

    // Drawing through a mask leaves alpha 0 on images without an alpha channel of their
    // own: give every drawn pixel full alpha so that the menu shows it.
    auto* pixels = static_cast<DWORD*>(bits);
    bool anyAlpha = false;
    for (int i = 0; i < width_ * height_; ++i)
        anyAlpha = anyAlpha || (pixels[i] & 0xFF000000u);
    if (!anyAlpha) {
        // Without alpha, tell drawn pixels from the untouched background by a second
        // drawing on white: a pixel that differs between the two is transparent.
        UniqueBitmap probe(CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (probe) {
            auto* white = static_cast<DWORD*>(bits);
            std::memset(white, 0xFF, static_cast<size_t>(width_) * height_ * 4);
            previous = SelectObject(dc.Get(), probe.Get());
            ImageList_Draw(handle_, index, dc.Get(), 0, 0, ILD_TRANSPARENT);
            SelectObject(dc.Get(), previous);
            GdiFlush();
            for (int i = 0; i < width_ * height_; ++i) {
                bool transparent = (pixels[i] & 0xFFFFFF) != (white[i] & 0xFFFFFF);
                pixels[i] = transparent ? 0 : (pixels[i] | 0xFF000000u);
            }
        }
    }
    return bitmap;
}
