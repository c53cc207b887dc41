// The platform's file-open dialog as a non-visual component: a filter of choices, the file
// chosen last, and Execute to ask for one.
#pragma once

#include "framework/component.h"

#include <windows.h>
#include <commdlg.h>

#include <string>
#include <string_view>
#include <vector>

class OpenDialog : public Component {
public:
    using GetOpenFileNameFunction = BOOL(WINAPI*)(LPOPENFILENAMEA info);

    explicit OpenDialog(Component* owner) : Component(owner) {}

    // Pairs of a description and its patterns, the parts separated by "|":
    // "全てのファイル|*.*|実行ファイル|*.exe;*.com".
    const std::string& Filter() const { return filter_; }
    void SetFilter(std::string filter) { filter_ = std::move(filter); }
    // The choice of the filter shown first, from 1; after Execute, the one the user left on.
    int FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int index) { filterIndex_ = index; }
    // The file the dialog starts at; after Execute, the full path of the chosen file.
    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string fileName) { fileName_ = std::move(fileName); }

    // Shows the dialog, owned by the active window of the thread (the application's window
    // when there is none). True when the user chose a file; false on cancel, and when the
    // dialog could not be shown, with FileName left as it was. The dialog never changes the
    // program's current directory.
    bool Execute();

    // The filter as the platform takes it: each part ended by a NUL, one more NUL at the end.
    // A "|" that is the second byte of a Shift-JIS character splits nothing.
    static std::string PlatformFilter(std::string_view filter);

    // Replaces the function that shows the dialog (GetOpenFileNameA by default) and returns
    // the previous one; tests answer the dialog through it.
    static GetOpenFileNameFunction SetGetOpenFileName(GetOpenFileNameFunction function);

private:
    std::string filter_;
    int filterIndex_ = 1;
    std::string fileName_;
};
