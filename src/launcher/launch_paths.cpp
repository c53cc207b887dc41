#include "launcher/launch_paths.h"

#include "base/sjis.h"

#include <vector>

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The places of the path's separators. A trail byte may be 0x5C ("表" is 0x95 0x5C): the
// text is walked from its start, a two-byte character at a time.
std::vector<std::size_t> Separators(std::string_view path)
{
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < path.size();) {
        if (IsSeparator(path[i])) {
            found.push_back(i);
        }
        i += IsLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size() ? 2 : 1;
    }
    return found;
}

bool HasDrive(std::string_view path)
{
    return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':';
}

// "C:\x", "\\server\share", "\x": not taken against any folder.
bool IsAbsolute(std::string_view path)
{
    return HasDrive(path) || (!path.empty() && IsSeparator(path[0]));
}

// A URL, "mailto:", "shell:", "::{...}": the shell's to read, never a path of ours. A scheme
// has two characters at least, which tells it from a drive.
bool HasScheme(std::string_view text)
{
    if (text.substr(0, 2) == "::") {
        return true;
    }
    std::size_t i = 0;
    while (i < text.size() && (IsAsciiLetter(text[i]) || (text[i] >= '0' && text[i] <= '9') ||
                               text[i] == '+' || text[i] == '-' || text[i] == '.')) {
        ++i;
    }
    return i >= 2 && i < text.size() && text[i] == ':' && IsAsciiLetter(text[0]);
}

// A path typed in quotes, as on a command line: the shell takes it without them.
std::string Unquoted(std::string text)
{
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

// The part that ".." never climbs above: the drive ("C:"), or the share ("\\server\share").
std::size_t RootLength(std::string_view path)
{
    if (HasDrive(path)) {
        return 2;
    }
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        const std::vector<std::size_t> separators = Separators(path);
        return separators.size() > 3 ? separators[3] : path.size();
    }
    return 0;
}

// The relative path taken against the folder, "." and ".." worked out as PathCombine does.
std::string Join(std::string_view folder, std::string_view relative)
{
    std::string path(folder);
    const std::size_t root = RootLength(path);
    std::vector<std::size_t> separators = Separators(path);
    if (!separators.empty() && separators.back() + 1 == path.size() && path.size() > root) {
        path.pop_back();
    }
    std::size_t start = 0;
    separators = Separators(relative);
    separators.push_back(relative.size());
    for (const std::size_t end : separators) {
        const std::string_view part = relative.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".") {
            continue;
        }
        if (part == "..") {
            const std::vector<std::size_t> own = Separators(path);
            path.resize(!own.empty() && own.back() >= root ? own.back() : root);
            continue;
        }
        path += '\\';
        path += part;
    }
    if (path.size() == root) {
        path += '\\';
    }
    return path;
}

// The entry's directory, expanded and absolute; empty when it names none.
std::string ResolvedDirectory(const LaunchEntry& entry, const PathLookups& lookups)
{
    const std::string dir = Unquoted(ExpandVariables(entry.Dir, lookups));
    return dir.empty() || IsAbsolute(dir) ? dir : Join(lookups.programFolder, dir);
}

std::string FilePlacesIn(const std::string& file, const std::string& dir, const std::string& programFolder)
{
    if (file.empty() || HasScheme(file) || IsAbsolute(file)) {
        return file;
    }
    // "tools\app.exe", ".\app.exe", "..\x": where the list says, wherever it was copied to.
    if (!Separators(file).empty()) {
        return Join(dir.empty() ? programFolder : dir, file);
    }
    // A bare name is ours only where such a file is; otherwise the shell searches for it as
    // it always has (the system folder, the path).
    std::string places = dir.empty() ? std::string() : Join(dir, file) + '\n';
    return places + Join(programFolder, file) + '\n' + file;
}

}   // namespace

std::string ExpandVariables(std::string_view text, const PathLookups& lookups)
{
    // '%' is never the second byte of a two-byte character.
    std::string expanded;
    std::size_t done = 0;
    for (std::size_t open; (open = text.find('%', done)) != std::string_view::npos;) {
        const std::size_t close = text.find('%', open + 1);
        if (close == std::string_view::npos) {
            break;
        }
        expanded.append(text.substr(done, open - done));
        std::optional<std::string> value;
        if (close > open + 1 && lookups.variable) {
            value = lookups.variable(std::string(text.substr(open + 1, close - open - 1)));
        }
        expanded.append(value ? std::string_view(*value) : text.substr(open, close + 1 - open));
        done = close + 1;
    }
    expanded.append(text.substr(done));
    return expanded;
}

std::string FilePlaces(const LaunchEntry& entry, const PathLookups& lookups)
{
    return FilePlacesIn(Unquoted(ExpandVariables(entry.File, lookups)), ResolvedDirectory(entry, lookups),
                        lookups.programFolder);
}

std::string FirstPlace(std::string_view places, const std::function<bool(const std::string&)>& exists)
{
    std::size_t start = 0;
    for (std::size_t end; (end = places.find('\n', start)) != std::string_view::npos; start = end + 1) {
        std::string place(places.substr(start, end - start));
        if (exists(place)) {
            return place;
        }
    }
    return std::string(places.substr(start));
}

LaunchTarget ResolveLaunch(const LaunchEntry& entry, const PathLookups& lookups)
{
    LaunchTarget target;
    target.file = FirstPlace(FilePlaces(entry, lookups), lookups.exists);
    target.parameters = ExpandVariables(entry.Option, lookups);
    target.directory = ResolvedDirectory(entry, lookups);
    if (target.directory.empty()) {
        // As Explorer starts a program: in its own folder, whatever folder we were started in.
        const std::vector<std::size_t> separators = Separators(target.file);
        const bool onDisk = IsAbsolute(target.file) && !separators.empty() && lookups.exists(target.file);
        target.directory = onDisk ? target.file.substr(0, separators.back() + 1) : lookups.programFolder;
    }
    return target;
}
