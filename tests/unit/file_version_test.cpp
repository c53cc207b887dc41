#include "launcher/file_version.h"

#include <gtest/gtest.h>

#include <string>

TEST(FileVersionTest, AFileIsTheSameVersionOnlyWithTheSameBytes)
{
    const std::string saved = "[FOLDER]\r\nITEM0=1\r\n[ExecInfo0]\r\nNAME=表\r\n";
    EXPECT_EQ(FileVersion::Of(saved), FileVersion::Of(std::string(saved)));
    // One byte changed, the same length; a line end changed; nothing but an empty file.
    for (const std::string& other :
         {std::string("[FOLDER]\r\nITEM0=0\r\n[ExecInfo0]\r\nNAME=表\r\n"),
          std::string("[FOLDER]\nITEM0=1\n[ExecInfo0]\nNAME=表\n"), std::string()}) {
        EXPECT_NE(FileVersion::Of(saved), FileVersion::Of(other)) << other;
    }
}

TEST(FileVersionTest, AChangeIsFollowedOnlyWhenItIsAnotherVersionAndNothingOfTheUsersIsInTheWay)
{
    const FileVersion own = FileVersion::Of("[FOLDER]\r\nITEM0=0\r\n");
    const FileVersion outside = FileVersion::Of("[FOLDER]\r\nITEM0=1\r\n");
    struct Case {
        bool editing, unsaved;
        std::optional<FileVersion> current;
        FileChangeAction expected;
    } const cases[] = {
        // The program's own save, a file that cannot be read or is gone: nothing to take.
        {false, false, own, FileChangeAction::Ignore},
        {false, false, std::nullopt, FileChangeAction::Ignore},
        {true, true, own, FileChangeAction::Ignore},
        {false, false, outside, FileChangeAction::Follow},
        // The dialog shows the list, or the list holds what a failed save left: asked later.
        {true, false, outside, FileChangeAction::Offer},
        {false, true, outside, FileChangeAction::Offer},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, OnFileChange({own, c.editing, c.unsaved}, c.current))
            << c.editing << c.unsaved << c.current.has_value();
    }
}
