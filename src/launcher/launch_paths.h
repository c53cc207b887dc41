// How a launcher entry's texts are read at the moment it starts, as Explorer reads paths: the
// environment's variables expanded, relative paths taken against the entry's folder or the
// program's own, and the program started in its own folder when the entry names none. What the
// list stores stays as the user typed it; these are the texts the shell is given.
#pragma once

#include "launcher/launch_entry.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// What the rules ask of the system.
struct PathLookups {
    std::string programFolder;   // the running program's folder, with its trailing "\"
    // The variable's value; nothing when it is not set.
    std::function<std::optional<std::string>(const std::string& name)> variable;
    // Whether a file or folder is there.
    std::function<bool(const std::string& path)> exists;
};

// The file, parameters and working directory that the shell is given.
struct LaunchTarget {
    std::string file;
    std::string parameters;
    std::string directory;
};

// "%NAME%" replaced by the variable's value; a name that is not set stays as written.
std::string ExpandVariables(std::string_view text, const PathLookups& lookups);

// Where the entry's file is, without looking at the disk: its path, or, for a bare name, the
// places it may stand in, one per line, in the order they are tried, the name itself last (left
// to the shell's own search when it stands in none). No path holds a line break.
std::string FilePlaces(const LaunchEntry& entry, const PathLookups& lookups);

// The first of the places that exists, else the last.
std::string FirstPlace(std::string_view places, const std::function<bool(const std::string&)>& exists);

// The entry as the shell is to start it: absolute paths (texts with a scheme, such as URLs and
// "::{...}", left alone), the parameters expanded, and always a directory: the entry's, else the
// folder of its file when that is on disk, else the program's folder.
LaunchTarget ResolveLaunch(const LaunchEntry& entry, const PathLookups& lookups);
