// What kind of thing a launcher entry names, told from its text alone: the generic picture an
// item shows until the shell's own icon of its file is known.
#pragma once

#include <string_view>

enum class FileKind { Unknown, Document, Program, Folder };

// A name ending in a path separator, a bare drive or a name without extension is taken for a
// folder; a program by its extension; any other name for a document; an empty text is unknown.
FileKind KindOfFile(std::string_view file);
