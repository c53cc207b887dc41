#include "launcher/file_kind.h"

#include <gtest/gtest.h>

#include <string>

TEST(FileKindTest, TheGenericPictureIsToldFromTheTextAlone)
{
    const struct {
        std::string file;
        FileKind kind;
    } cases[] = {
        {"", FileKind::Unknown},
        {"C:\\Windows\\notepad.exe", FileKind::Program},
        {"\\\\host\\share\\tool.Lnk", FileKind::Program},
        {"C:\\memo\\todo.txt", FileKind::Document},
        {"C:\\Windows", FileKind::Folder},
        {"C:\\profile\\.config", FileKind::Folder},
        // "表" ends in the byte '\\': the name is the whole "表.exe", not ".exe" after a separator.
        {"C:\\\x95\x5C.exe", FileKind::Program},
        {"C:\\\x95\x5C", FileKind::Folder},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.kind, KindOfFile(c.file)) << c.file;
    }
}
