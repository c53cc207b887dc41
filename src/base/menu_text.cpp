#include "base/menu_text.h"

std::string LiteralMenuText(std::string_view text)
{
    // Neither '&' nor a tab is ever the second byte of a two-byte character.
    std::string caption;
    caption.reserve(text.size());
    for (const char c : text) {
        if (c == '&') {
            caption += "&&";
        } else {
            caption += c == '\t' ? ' ' : c;
        }
    }
    return caption;
}
