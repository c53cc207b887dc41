#include "base/error.h"

std::string WithFullStop(std::string_view message)
{
    std::string text(message);
    // Compared as unsigned: the trail byte of a Japanese character is often above 0x7F.
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') {
        text += '.';
    }
    return text;
}

std::string FormatMessageText(std::string_view pattern, std::string_view arg)
{
    const std::size_t at = pattern.find("%s");
    if (at == std::string_view::npos) {
        return std::string(pattern);
    }
    std::string text;
    text.reserve(pattern.size() - 2 + arg.size());
    text.append(pattern.substr(0, at));
    text.append(arg);
    text.append(pattern.substr(at + 2));
    return text;
}
