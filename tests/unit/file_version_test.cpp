#include "launcher/file_version.h"

#include <gtest/gtest.h>

TEST(FileVersionTest, AChangeIsFollowedOnlyWhenItIsAnotherVersionAndNothingOfTheUsersIsInTheWay)
{
    const FileVersion own = FileVersion::Of("[FOLDER]\r\nITEM0=0\r\n");
    const FileVersion outside = FileVersion::Of("[FOLDER]\r\nITEM0=1\r\n");
    const struct {
        bool editing, unsaved;
        std::optional<FileVersion> current;
        FileChangeAction expected;
    } cases[] = {
        // The program's own save, a file that cannot be read or is gone: nothing to take.
        {false, false, FileVersion::Of("[FOLDER]\r\nITEM0=0\r\n"), FileChangeAction::Ignore},
        {false, false, std::nullopt, FileChangeAction::Ignore},
        {false, false, outside, FileChangeAction::Follow},
        // The dialog shows the list, or the list holds what a failed save left: asked later.
        {true, false, outside, FileChangeAction::Offer},
        {false, true, outside, FileChangeAction::Offer},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, OnFileChange({own, c.editing, c.unsaved}, c.current)) << (&c - cases);
    }
}
