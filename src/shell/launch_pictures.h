// The launcher items' pictures, kept in a list of their own from one opening of the menu to
// the next. The shell's icons come from FileIcons' threads; until a file's is known, its item
// shows the generic picture of its kind.
#pragma once

#include "shell/file_icons.h"

#include <windows.h>

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class ImageList;
class MenuItem;
class TreeModel;

class LaunchPictures {
public:
    // Fixed entries of the list, before the files' pictures.
    static constexpr int kFolder = 0;
    static constexpr int kUnknown = 1;
    static constexpr int kDocument = 2;
    static constexpr int kProgram = 3;

    // The least time between two looks at every file of the list, in milliseconds: a user
    // who opens the menu again and again keeps no thread busy with it.
    static constexpr DWORD kRecheckPause = 3000;

    // `images` is the launcher submenu's list (not owned); `message` is posted to `notify`
    // when answers wait, and is to call TakeAnswers.
    LaunchPictures(ImageList& images, HWND notify, UINT message, FileIcons::IconSource source,
                   DWORD recheckPause = kRecheckPause);

    // The list was built anew: every item gets the picture known for its file, else its
    // kind's, and the worker is asked about every file; answers about the list before are
    // dropped.
    void ListChanged(const TreeModel& tree, const MenuItem& launch);
    // Takes in the worker's answers: the items of each file get its picture.
    void TakeAnswers(const MenuItem& launch);
    // At an opening of the menu: once the worker has gone through the list and a few seconds
    // have passed, another look at every file, so that a file changed since gets its new
    // picture at a later opening. The answers come in through `message`, between openings:
    // an opening never waits for pictures to be made.
    void Refresh();
    // Whether the worker has nothing left to do and no answer waits.
    bool Settled();
    // The list takes pictures of `size` x `size` from now on (another DPI): it starts afresh
    // with the fixed entries at that size, and answers asked at the old size are dropped.
    // True when the size changed: then ListChanged is to run again, which asks for every file
    // at the new size.
    bool SetPictureSize(int size);

private:
    struct Known {
        FileIcons::Stamp stamp;
        int index = -1;   // in images_; -1: the shell gives no icon
    };
    void Ask();
    // Empties the list but for its fixed entries, and forgets every file's picture.
    void ResetImages();
    static int GenericPicture(const std::string& file);

    ImageList& images_;   // not owned
    FileIcons icons_;
    unsigned round_ = 0;
    std::unordered_map<std::string, Known> known_;
    std::unordered_map<std::string, std::vector<int>> nodes_;   // node indices by file
    std::vector<std::string> files_;                            // each file once, in list order
    DWORD recheckPause_;
    DWORD lastAsked_ = 0;   // tick count of the last Ask
};
