// The author's addresses. The about box shows and opens them, and the build copies the mail
// address and the home page into Readme.txt (tools/mkhelp/readme.py reads this file, so keep
// each as one "inline constexpr char NAME[] = "...";" line).
#pragma once

inline constexpr char kAuthorMail[] = "mivtra@example.com";
inline constexpr char kAuthorMailLink[] = "mailto:mivtra@example.com";
inline constexpr char kAuthorHomePage[] = "https://www.example.com/mivtra/";
