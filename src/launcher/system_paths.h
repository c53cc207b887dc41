// The path rules of launcher entries with the system's answers: the running program's folder,
// the process's environment and the files on disk.
#pragma once

#include "launcher/launch_paths.h"

#include <string>

// Whether a file or folder is there. It may wait long for a share that does not answer.
bool PathExists(const std::string& path);

PathLookups SystemPathLookups();
