// Pixel lengths drawn for a display of 96 DPI, and what they become on a display of another:
// the forms' tables, font heights and picture sizes are all given at 96 DPI.
#pragma once

// The DPI the forms, fonts and pictures are drawn for: 100 % display scaling.
inline constexpr int kDesignDpi = 96;

// `length` pixels at `fromDpi` as pixels at `toDpi`, rounded to the nearest pixel, halves away
// from zero (as the platform's MulDiv does). A DPI of 0 or less leaves the length as it is.
int ScaleDpi(int length, int fromDpi, int toDpi);

// A length of the tables (96 DPI) at `dpi`.
inline int ScaleFromDesign(int length, int dpi)
{
    return ScaleDpi(length, kDesignDpi, dpi);
}

// A rectangle as the tables give it: left, top, width, height, relative to its parent.
struct PixelRect {
    int left, top, width, height;
};

// The rectangle at `dpi`, its edges scaled rather than its width and height: two controls that
// touch at 96 DPI still touch, and a gap between neighbours stays the gap scaled.
PixelRect ScaleEdges(const PixelRect& rect, int dpi);
