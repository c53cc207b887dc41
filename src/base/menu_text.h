// Texts that a menu shows as they are, rather than reading them as captions.
#pragma once

#include <string>
#include <string_view>

// The caption that shows the text as typed: "Q&A" as "Q&A", not "QA" with the A underlined as
// its access key, and a tab as a space, not as the start of a right-aligned column.
std::string LiteralMenuText(std::string_view text);
