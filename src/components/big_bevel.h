// A framed panel drawn by its form: a number of nested one-pixel frame lines, sunk or raised.
#pragma once

#include "framework/form_def.h"
#include "framework/windowless_control.h"

#include <windows.h>

#include <cstdint>

// Which colour goes on the top and left edges: the shadow for a sunk panel, the highlight
// for a raised one. Set from a form definition as .Set<&BigBevel::SetStyle>(bsRaised).
enum BevelStyle : std::uint8_t { bsLowered, bsRaised };

class BigBevel : public WindowlessControl {
public:
    static Component* Create(const ControlContext& context);

    // A new bevel is 60 x 40 at the form's corner until it is given a place.
    explicit BigBevel(Form& form, const RECT& bounds = {0, 0, 60, 40});

    BevelStyle Style() const { return style_; }
    void SetStyle(BevelStyle style);
    // The number of nested frame lines at 96 DPI, more at a higher DPI (3 at 144); none are
    // drawn for 0 or less.
    std::int16_t BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(std::int16_t width);

    // Only the frame lines: the inside is left as it was.
    void Paint(HDC dc) override;

private:
    BevelStyle style_ = bsLowered;
    std::int16_t bevelWidth_ = 2;
};
