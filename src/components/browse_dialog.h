// A non-visual component that shows the shell's folder-selection dialog modally: it selects
// Directory when the dialog opens, starts the tree at Root, and lets its owner write the
// dialog's status line and enable or disable OK as the selection moves.
#pragma once

#include "components/browse_options.h"
#include "framework/component.h"

#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <memory>
#include <string>

// Fired inside Execute while the dialog window exists. Path is the selected folder's file-system
// path (empty when it has none); showText (starting empty) becomes the status line, and
// okButtonState (starting obsUnchanged) what happens to the OK button.
using BrowseDialogEvent = std::function<void(Component* sender, HWND wnd, std::string path,
                                             std::string& showText, OkButtonState& okButtonState)>;

// The shell functions Execute and its callback use, replaceable by tests.
struct BrowseShellFunctions {
    HRESULT(WINAPI* getMalloc)(IMalloc** allocator);
    HRESULT(WINAPI* getDesktopFolder)(IShellFolder** folder);
    PIDLIST_ABSOLUTE(WINAPI* browseForFolder)(LPBROWSEINFOA info);
    BOOL(WINAPI* getPathFromIDList)(PCIDLIST_ABSOLUTE list, LPSTR path);
};

// The table in use; it starts with SHGetMalloc, SHGetDesktopFolder, SHBrowseForFolderA and
// SHGetPathFromIDListA.
BrowseShellFunctions& BrowseShell();

class BrowseDialog : public Component {
public:
    explicit BrowseDialog(Component* owner);
    ~BrowseDialog() override;

    // Offered every message of the application window while the dialog is shown; true means
    // handled, with `result` as the answer. This one handles nothing.
    virtual bool MessageHook(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Shows the dialog. True when the user chose an item with OK: Directory and DisplayName
    // then describe it. False when cancelled or when the shell's allocator cannot be had;
    // both properties then keep their values.
    virtual bool Execute();

    // The display name of the item chosen last.
    const std::string& DisplayName() const { return displayName_; }

    // Selected when the dialog opens; after a choice, its file-system path (empty when none).
    const std::string& Directory() const { return directory_; }
    void SetDirectory(std::string directory) { directory_ = std::move(directory); }
    // The text above the folder tree.
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption) { caption_ = std::move(caption); }
    BrowseOptions Options() const { return options_; }
    void SetOptions(BrowseOptions options) { options_ = options; }
    // The folder the tree starts at, as a path; empty, or a path the shell cannot parse: the
    // whole namespace.
    const std::string& Root() const { return root_; }
    void SetRoot(std::string root) { root_ = std::move(root); }

    BrowseDialogEvent OnInitialized;
    BrowseDialogEvent OnSelectionChanged;

private:
    static int CALLBACK BrowseCallback(HWND wnd, UINT message, LPARAM param, LPARAM data);
    void Notify(HWND wnd, UINT message, LPARAM param);

    std::string displayName_;
    std::string directory_;
    std::string caption_;
    BrowseOptions options_{biReturnOnlyFSDirs};
    std::string root_;
    // False once destruction has begun: Execute runs the dialog's message loop.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
