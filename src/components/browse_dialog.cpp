#include "components/browse_dialog.h"

#include "base/error.h"
#include "framework/application.h"
#include "framework/thread_windows.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

static_assert(kBrowseOptionFlags[biBrowseForComputer] == BIF_BROWSEFORCOMPUTER &&
                  kBrowseOptionFlags[biBrowseForPrinter] == BIF_BROWSEFORPRINTER &&
                  kBrowseOptionFlags[biDontGoBelowDomain] == BIF_DONTGOBELOWDOMAIN &&
                  kBrowseOptionFlags[biReturnFSAncestors] == BIF_RETURNFSANCESTORS &&
                  kBrowseOptionFlags[biReturnOnlyFSDirs] == BIF_RETURNONLYFSDIRS &&
                  kBrowseOptionFlags[biStatusText] == BIF_STATUSTEXT,
              "the option table holds the shell's flags");

namespace {

constexpr std::size_t kShellBlockBytes = MAX_PATH;
// SHGetPathFromIDListA writes at most MAX_PATH bytes; the buffer leaves room to spare.
constexpr std::size_t kSelectionPathBytes = 513;
constexpr char kAllocFailed[] = "TBrowseDialog: ppmem.Alloc Failed.";

// The components that exist: the callback's data is only trusted when it is one of them.
std::vector<BrowseDialog*>& LiveDialogs()
{
    static std::vector<BrowseDialog*> dialogs;
    return dialogs;
}

struct ComRelease {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <typename Interface>
using ComPtr = std::unique_ptr<Interface, ComRelease>;

// A block or item list that goes back to the shell allocator that made it.
class ShellMemory {
public:
    ShellMemory(IMalloc* allocator, void* block) : allocator_(allocator), block_(block) {}
    ShellMemory(const ShellMemory&) = delete;
    ShellMemory& operator=(const ShellMemory&) = delete;
    ~ShellMemory()
    {
        if (block_) {
            allocator_->Free(block_);
        }
    }

    void* Get() const { return block_; }
    void Reset(void* block)
    {
        if (block_) {
            allocator_->Free(block_);
        }
        block_ = block;
    }

private:
    IMalloc* allocator_;   // not owned
    void* block_;          // owned
};

ShellMemory AllocateBlock(IMalloc* allocator)
{
    void* block = allocator->Alloc(kShellBlockBytes);
    if (!block) {
        throw Error(kAllocFailed);
    }
    return ShellMemory(allocator, block);
}

std::wstring Widen(const std::string& text)
{
    if (text.empty()) {
        return {};
    }
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

// The root's item list, or null when the shell cannot parse the path: the tree then shows
// the whole namespace.
LPITEMIDLIST ParseRoot(IMalloc* allocator, IShellFolder* desktop, const std::string& root, HWND owner)
{
    // A MAX_PATH block is asked for before parsing and given back after, so that an allocator
    // that refuses it ends Execute here with the display-name block's error. The wide path
    // has a string of its own: a root longer than the block is not cut.
    ShellMemory probe = AllocateBlock(allocator);
    std::wstring wide = Widen(root);
    LPITEMIDLIST list = nullptr;
    if (FAILED(desktop->ParseDisplayName(owner, nullptr, wide.data(), nullptr, &list, nullptr))) {
        return nullptr;
    }
    return list;
}

// The application window owns the dialog, as it owns every form: the one window that is
// always there, hidden, and carries the hooks offered to MessageHook.
HWND MainWindow()
{
    return application ? application->Handle() : nullptr;
}

class MainWindowHook {
public:
    explicit MainWindowHook(Application::WindowHook hook)
        : application_(application), id_(application_ ? application_->HookMainWindow(std::move(hook)) : 0)
    {
    }
    MainWindowHook(const MainWindowHook&) = delete;
    MainWindowHook& operator=(const MainWindowHook&) = delete;
    ~MainWindowHook()
    {
        if (application_ && application_ == application) {
            application_->UnhookMainWindow(id_);
        }
    }

private:
    Application* application_;   // not owned
    int id_;
};

std::string TextIn(const char* buffer, std::size_t size)
{
    return std::string(buffer, strnlen(buffer, size));
}

}   // namespace

BrowseShellFunctions& BrowseShell()
{
    static BrowseShellFunctions functions{::SHGetMalloc, ::SHGetDesktopFolder, ::SHBrowseForFolderA,
                                          ::SHGetPathFromIDListA};
    return functions;
}

BrowseDialog::BrowseDialog(Component* owner) : Component(owner)
{
    LiveDialogs().push_back(this);
}

BrowseDialog::~BrowseDialog()
{
    *alive_ = false;
    auto& dialogs = LiveDialogs();
    dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), this), dialogs.end());
}

bool BrowseDialog::MessageHook(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

bool BrowseDialog::Execute()
{
    const BrowseShellFunctions& shell = BrowseShell();
    IMalloc* rawAllocator = nullptr;
    if (FAILED(shell.getMalloc(&rawAllocator)) || !rawAllocator) {
        return false;
    }
    // Declared first, so that it is released after everything it gave out has gone back.
    ComPtr<IMalloc> allocator(rawAllocator);
    IMalloc* const shellAllocator = allocator.get();

    HWND owner = MainWindow();
    ComPtr<IShellFolder> desktop;
    ShellMemory rootList(shellAllocator, nullptr);
    if (!root_.empty()) {
        IShellFolder* rawDesktop = nullptr;
        if (FAILED(shell.getDesktopFolder(&rawDesktop))) {
            throw Error("TBrowseDialog: SHGetDesktopFolder Failed.");
        }
        desktop.reset(rawDesktop);
        rootList.Reset(ParseRoot(shellAllocator, desktop.get(), root_, owner));
    }
    ShellMemory displayName = AllocateBlock(shellAllocator);
    static_cast<char*>(displayName.Get())[0] = '\0';

    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pidlRoot = static_cast<PCIDLIST_ABSOLUTE>(rootList.Get());
    info.pszDisplayName = static_cast<char*>(displayName.Get());
    info.lpszTitle = caption_.c_str();
    info.ulFlags = BrowseFlags(options_);
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(this);

    ShellMemory chosen(shellAllocator, nullptr);
    // A handler may destroy this component while the dialog's loop runs.
    std::shared_ptr<bool> alive = alive_;
    {
        DisabledThreadWindows modal;
        MainWindowHook hook([this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
            return MessageHook(message, wParam, lParam, result);
        });
        chosen.Reset(shell.browseForFolder(&info));
    }
    if (!chosen.Get() || !*alive) {
        return false;
    }

    char* block = static_cast<char*>(displayName.Get());
    std::string name = TextIn(block, kShellBlockBytes);
    std::string path;
    if (shell.getPathFromIDList(static_cast<PCIDLIST_ABSOLUTE>(chosen.Get()), block)) {
        path = TextIn(block, kShellBlockBytes);
    }
    displayName_.swap(name);
    directory_.swap(path);
    return true;
}

int CALLBACK BrowseDialog::BrowseCallback(HWND wnd, UINT message, LPARAM param, LPARAM data)
{
    return GuardCallback<int>(0, [&] {
        const auto& dialogs = LiveDialogs();
        auto found = std::find(dialogs.begin(), dialogs.end(), reinterpret_cast<BrowseDialog*>(data));
        if (found != dialogs.end()) {
            (*found)->Notify(wnd, message, param);
        }
        return 0;
    });
}

void BrowseDialog::Notify(HWND wnd, UINT message, LPARAM param)
{
    std::string showText;
    OkButtonState okButtonState = obsUnchanged;
    char path[kSelectionPathBytes] = {};

    if (message == BFFM_SELCHANGED) {
        if (!BrowseShell().getPathFromIDList(reinterpret_cast<PCIDLIST_ABSOLUTE>(param), path)) {
            path[0] = '\0';
        }
        if (OnSelectionChanged) {
            OnSelectionChanged(this, wnd, TextIn(path, sizeof path), showText, okButtonState);
        }
    } else if (message == BFFM_INITIALIZED) {
        std::string selection(InitialSelection(directory_));
        if (!selection.empty()) {
            SendMessageA(wnd, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(selection.c_str()));
        }
        if (OnInitialized) {
            OnInitialized(this, wnd, selection, showText, okButtonState);
        }
    }

    SendMessageA(wnd, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(showText.c_str()));
    if (okButtonState == obsEnabled) {
        SendMessageA(wnd, BFFM_ENABLEOK, 0, TRUE);
    } else if (okButtonState == obsDisabled) {
        SendMessageA(wnd, BFFM_ENABLEOK, 0, FALSE);
    }
}
