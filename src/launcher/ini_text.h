// The encodings of LAUNCH.INI's bytes: code page 932, or UTF-16LE after its byte order mark.
#pragma once

#include "base/ini_document.h"

#include <string>

bool StartsWithUtf16Mark(const std::string& bytes);

// The document of a file's bytes. A file that starts with the UTF-16LE byte order mark (FF FE),
// which Windows reads as Unicode, is converted to code page 932 first; characters that code
// page lacks become a look-alike or '?', as they do when the A functions return them. Any other
// file is taken as code page 932 bytes, including one that starts with the UTF-8 byte order mark.
IniDocument ParseIniFileBytes(const std::string& bytes);

// The text as UTF-16LE with its byte order mark; false when it cannot be converted.
bool IniTextToUtf16(const std::string& text, std::string& bytes);
