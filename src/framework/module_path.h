// Where the running program lives: the files that travel with it (LAUNCH.INI, the help file,
// its own icons) are found from here, never from the current folder.
#pragma once

#include <string>

// The full path of the running executable; empty when the system cannot tell.
std::string ModuleFileName();
// The same in UTF-16: whole even where a folder's name has characters outside Shift-JIS.
std::wstring ModuleFileNameW();

// The folder of the running executable with its trailing path delimiter ("C:\Tools\").
std::string ModuleDirectory();
