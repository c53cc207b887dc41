// The program's own icon groups by the position ExtractIconEx counts them at in its file.
// Mivtra.rc fixes these positions: the groups sit in the file sorted by name.
#pragma once

inline constexpr int kMainIconPosition = 0;           // MAINICON: the tray icon
inline constexpr int kOpenFolderIconPosition = 1;     // MICON91
inline constexpr int kClosedFolderIconPosition = 2;   // MICON92
inline constexpr int kWindowIconPosition = 3;         // MICON93
