#include "base/display_scale.h"

int ScaleDpi(int length, int fromDpi, int toDpi)
{
    if (fromDpi <= 0 || toDpi <= 0 || fromDpi == toDpi) {
        return length;
    }
    const long long product = static_cast<long long>(length) * toDpi;
    const long long half = fromDpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / fromDpi : (product - half) / fromDpi);
}

PixelRect ScaleEdges(const PixelRect& rect, int dpi)
{
    const int left = ScaleFromDesign(rect.left, dpi);
    const int top = ScaleFromDesign(rect.top, dpi);
    return {left, top, ScaleFromDesign(rect.left + rect.width, dpi) - left,
            ScaleFromDesign(rect.top + rect.height, dpi) - top};
}
