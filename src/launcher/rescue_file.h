// Where the launcher list goes when its own file cannot take it: a copy in the user's
// application data folder, which the user can always write.
#pragma once

#include <string>

// "<application data>\Mivtra\LAUNCH.INI", its folder made when missing; empty when the system
// names no application data folder.
std::string RescueFilePath();
