// wintool: looks at and pokes the windows of a Wine desktop from inside it, for the end-to-end
// scripts. Windows of a virtual desktop are not X windows, so the scripts cannot find them with
// X tools; this program runs in the same prefix and desktop and answers in lines for bash.
//
// Every window line is: HWND VISIBLE LEFT TOP RIGHT BOTTOM PID CLASS TITLE
// (HWND in hex, VISIBLE 0/1, the window rectangle in screen pixels, the title in UTF-8, last so
// that it may hold spaces). Exit codes: 0 done, 1 not found or timed out, 2 bad usage.
//
// It uses the wide API so that titles and arguments in any language pass through unchanged.
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

static std::string ToUtf8(const std::wstring& text)
{
    if (text.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size, nullptr,
                        nullptr);
    return out;
}

static std::wstring ClassOf(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

static std::wstring TitleOf(HWND window)
{
    // WM_GETTEXT with a timeout: a hung window must not hang the tool. The buffer is large: an
    // ANSI window (the help viewer's rich edit) answers a text longer than it in Shift-JIS bytes
    // with nothing at all, and a help topic of 290 characters takes 513 bytes.
    static wchar_t text[8192];
    text[0] = L'\0';
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 8192, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        &copied);
    return text;
}

static void PrintLine(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    std::printf("0x%08lx %d %ld %ld %ld %ld %lu %s %s\n",
                static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)),
                IsWindowVisible(window) ? 1 : 0, rect.left, rect.top, rect.right, rect.bottom,
                static_cast<unsigned long>(pid), ToUtf8(ClassOf(window)).c_str(),
                ToUtf8(TitleOf(window)).c_str());
    std::fflush(stdout);
}

// The top-level windows of the desktop, in Z order, that have the class (any class when empty)
// and, when a title is given, exactly that title.
struct WindowQuery {
    const std::wstring* className;
    const wchar_t* title;
    std::vector<HWND> found;
};

static BOOL CALLBACK CollectWindow(HWND window, LPARAM data)
{
    auto& query = *reinterpret_cast<WindowQuery*>(data);
    if (!query.className->empty() && _wcsicmp(ClassOf(window).c_str(), query.className->c_str())) {
        return TRUE;
    }
    if (query.title && TitleOf(window) != query.title) {
        return TRUE;
    }
    query.found.push_back(window);
    return TRUE;
}

static std::vector<HWND> TopLevelWindows(const std::wstring& className, const wchar_t* title)
{
    WindowQuery query{&className, title, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

static BOOL CALLBACK PrintChild(HWND child, LPARAM)
{
    PrintLine(child);
    return TRUE;
}

// The first window of the class, a visible one before a hidden one.
static HWND FindFirst(const std::wstring& className, const wchar_t* title = nullptr)
{
    const auto windows = TopLevelWindows(className, title);
    for (HWND window : windows) {
        if (IsWindowVisible(window)) {
            return window;
        }
    }
    return windows.empty() ? nullptr : windows.front();
}

static HWND FindVisible(const std::wstring& className)
{
    for (HWND window : TopLevelWindows(className, nullptr)) {
        if (IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

static unsigned long Number(const wchar_t* text)
{
    // Base 0: decimal, 0x-hex; a negative number wraps like the message parameter it becomes.
    return text[0] == L'-' ? static_cast<unsigned long>(std::wcstol(text, nullptr, 0))
                           : std::wcstoul(text, nullptr, 0);
}

static int Usage()
{
    std::fprintf(
        stderr,
        "usage: wintool COMMAND ARGS\n"
        "  list                              every top-level window\n"
        "  find CLASS [TITLE]                the first such window (visible first)\n"
        "  count CLASS                       how many top-level windows of the class\n"
        "  wait CLASS TIMEOUT_MS             until a visible window of the class exists\n"
        "  waitexists CLASS TIMEOUT_MS       until a window of the class exists\n"
        "  waitgone CLASS TIMEOUT_MS         until no visible window of the class exists\n"
        "  waitnone CLASS TIMEOUT_MS         until no window of the class exists at all\n"
        "  post CLASS MSG WPARAM LPARAM      PostMessage to the first such window\n"
        "  close CLASS                       post WM_CLOSE to the first such window\n"
        "  children CLASS                    the child windows of the first such window\n"
        "  foreground                        the foreground window\n"
        "  waitfg CLASS TIMEOUT_MS           until a window of the class is the foreground\n"
        "  waitcursor X Y TIMEOUT_MS         until the pointer is at (X, Y)\n"
        "  waitidle CLASS TIMEOUT_MS         until the process of the first such window waits\n"
        "                                    for input with nothing left to do\n"
        "  setfg CLASS                       make the first such window the foreground\n"
        "  threadinfo [CLASS]                input state of the window's thread\n"
        "  buttons                           which mouse buttons the system holds down: left=0|1\n"
        "                                    right=0|1 (the state every program reads)\n"
        "  menukeys TIMEOUT_MS KEY...        once the foreground thread shows a pop-up menu, types\n"
        "                                    the keys into it (Escape Return Up Down Left Right,\n"
        "                                    letters, digits)\n"
        "  keys KEY...                       presses and lets go each key (ctrl alt shift, or as for\n"
        "                                    menukeys), only presses one with a \"+\", only lets go \"-\"\n"
        "  waitthreads PID MOST TIMEOUT_MS   until the process runs at most MOST threads\n"
        "  acp                               the ANSI code page\n"
        "  keeper                            stay alive in the desktop until killed\n"
        "  testwindow TITLE X Y W H          show a window until killed; its title\n"
        "                                    counts the button messages it gets, and it\n"
        "                                    prints each as MESSAGE X Y\n"
        "  iconwindow TITLE X Y W H          the same, of a class with an icon (WintoolIconWindow)\n"
        "  show CLASS TITLE CMD              ShowWindow(CMD) on the window with that class and title\n"
        "  settext HWND TEXT                 WM_SETTEXT to any window, a control of another program too\n"
        "  gettext HWND                      its text\n"
        "  treeitems HWND                    a tree control's items, parents first: DEPTH FLAGS TEXT\n"
        "                                    (FLAGS: s selected, e expanded, d drop target, - none)\n"
        "  treelabel HWND TEXT               screen point X Y on the name of the item with that text\n"
        "  treeselect HWND TEXT              select the first item whose text holds TEXT, opening its\n"
        "                                    parents on the way\n"
        "  treeexpand HWND TEXT              open the first item whose text holds TEXT\n"
        "  treeedit HWND                     the window editing an item's name, if any\n");
    return 2;
}

// The test window counts the mouse button messages its client area receives and shows the
// counts in its title ("TITLE [ld=1 lu=1 rd=0 ru=0]"), so that a script can tell which clicks
// reached it, and prints each with its point. Like most programs it opens a context menu of its own on a
// right click (its one item: "test window menu").
static std::wstring g_testTitle;
static int g_buttonCounts[4];   // left down, left up, right down, right up

static LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    int button = -1;
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_LBUTTONDOWN:
        button = 0;
        break;
    case WM_LBUTTONUP:
        button = 1;
        break;
    case WM_RBUTTONDOWN:
        button = 2;
        break;
    case WM_RBUTTONUP:
        button = 3;
        break;
    case WM_CONTEXTMENU:
        if (!g_testTitle.empty()) {
            HMENU menu = CreatePopupMenu();
            AppendMenuW(menu, MF_STRING, 1, L"test window menu");
            SetForegroundWindow(window);
            TrackPopupMenu(menu, TPM_RIGHTBUTTON, static_cast<short>(LOWORD(lParam)),
                           static_cast<short>(HIWORD(lParam)), 0, window, nullptr);
            PostMessageW(window, WM_NULL, 0, 0);
            DestroyMenu(menu);
            return 0;
        }
        break;
    }
    if (button >= 0 && !g_testTitle.empty()) {
        // Each one also goes to the output as "MESSAGE X Y", the screen point where it arrived.
        POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ClientToScreen(window, &point);
        std::printf("0x%x %ld %ld\n", message, point.x, point.y);
        std::fflush(stdout);
        ++g_buttonCounts[button];
        wchar_t counts[80];
        swprintf(counts, 80, L" [ld=%d lu=%d rd=%d ru=%d]", g_buttonCounts[0], g_buttonCounts[1],
                 g_buttonCounts[2], g_buttonCounts[3]);
        SetWindowTextW(window, (g_testTitle + counts).c_str());
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A window of our own that keeps the process a client of the desktop (keeper, hidden) or gives
// the scripts something to click on (testwindow, shown and made the foreground).
static int RunWindow(const wchar_t* className, const wchar_t* title, bool visible, int x, int y, int width,
                     int height, HICON icon = nullptr)
{
    WNDCLASSW windowClass = {};
    windowClass.hIcon = icon;
    windowClass.lpfnWndProc = TestWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, className, title, WS_OVERLAPPEDWINDOW, x, y, width, height, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
    if (!window) {
        std::fprintf(stderr, "wintool: CreateWindow failed (%lu)\n", GetLastError());
        return 1;
    }
    if (visible) {
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
        SetForegroundWindow(window);
    }
    PrintLine(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

// A 32 x 32 class icon that is easy to tell on a screenshot: a green square with a white frame.
static HICON FramedIcon()
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 32;
    info.bmiHeader.biHeight = 32;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP color = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const bool frame = x < 3 || y < 3 || x > 28 || y > 28;
            static_cast<DWORD*>(bits)[y * 32 + x] = frame ? 0xFFFFFFFFu : 0xFF00A040u;
        }
    }
    HBITMAP mask = CreateBitmap(32, 32, 1, 1, nullptr);
    ICONINFO icon = {TRUE, 0, 0, mask, color};
    HICON made = CreateIconIndirect(&icon);
    DeleteObject(color);
    DeleteObject(mask);
    return made;
}

// The virtual key of a key name, or 0.
static WORD VirtualKey(const std::wstring& name)
{
    static const struct {
        const wchar_t* name;
        WORD key;
    } kNamed[] = {{L"Escape", VK_ESCAPE}, {L"Return", VK_RETURN}, {L"Up", VK_UP},
                  {L"Down", VK_DOWN},     {L"Left", VK_LEFT},     {L"Right", VK_RIGHT}};
    for (const auto& named : kNamed) {
        if (name == named.name) {
            return named.key;
        }
    }
    if (name.size() == 1 && std::iswalnum(name[0]) && name[0] < 0x80) {
        return static_cast<WORD>(std::towupper(name[0]));
    }
    return 0;
}

// Whether the foreground thread is inside a pop-up menu's loop.
static bool ForegroundInMenu()
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(0, &info) && (info.flags & GUI_INMENUMODE) && info.hwndMenuOwner;
}

// Polls every 50 ms until the condition holds or the time is up.
template <typename Condition>
static bool WaitFor(unsigned long timeoutMs, Condition condition)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        Sleep(50);
    }
}

// Memory in another process for a control message that takes a pointer: the message is sent
// with the address there, and what the control wrote is read back.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, size_t size) : size_(size)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_) {
            address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        }
    }
    ~RemoteBuffer()
    {
        if (address_) {
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        }
        if (process_) {
            CloseHandle(process_);
        }
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Valid() const { return address_ != nullptr; }
    char* Address() const { return static_cast<char*>(address_); }
    bool Write(const void* data, size_t size, size_t offset = 0)
    {
        return WriteProcessMemory(process_, Address() + offset, data, size, nullptr);
    }
    bool Read(void* data, size_t size, size_t offset = 0) const
    {
        return ReadProcessMemory(process_, Address() + offset, data, size, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    size_t size_;
};

static LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

static HTREEITEM NextItem(HWND tree, UINT relation, HTREEITEM item)
{
    return reinterpret_cast<HTREEITEM>(Send(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

static std::wstring ItemText(HWND tree, HTREEITEM item)
{
    constexpr size_t kTextChars = 1024;
    RemoteBuffer buffer(tree, sizeof(TVITEMW) + kTextChars * sizeof(wchar_t));
    if (!buffer.Valid()) {
        return L"?";
    }
    TVITEMW info = {};
    info.mask = TVIF_TEXT | TVIF_HANDLE;
    info.hItem = item;
    info.pszText = reinterpret_cast<wchar_t*>(buffer.Address() + sizeof info);
    info.cchTextMax = kTextChars;
    buffer.Write(&info, sizeof info);
    Send(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(buffer.Address()));
    std::wstring text(kTextChars, L'\0');
    buffer.Read(text.data(), kTextChars * sizeof(wchar_t), sizeof info);
    text.resize(wcslen(text.c_str()));
    return text;
}

// Every item of the tree, parents first, with its depth from 0.
static std::vector<std::pair<HTREEITEM, int>> TreeItems(HWND tree)
{
    std::vector<std::pair<HTREEITEM, int>> items;
    std::vector<std::pair<HTREEITEM, int>> stack;
    for (HTREEITEM item = NextItem(tree, TVGN_ROOT, nullptr); item; item = NextItem(tree, TVGN_NEXT, item)) {
        stack.emplace_back(item, 0);
    }
    std::reverse(stack.begin(), stack.end());
    while (!stack.empty()) {
        const auto [item, depth] = stack.back();
        stack.pop_back();
        items.emplace_back(item, depth);
        std::vector<std::pair<HTREEITEM, int>> children;
        for (HTREEITEM child = NextItem(tree, TVGN_CHILD, item); child;
             child = NextItem(tree, TVGN_NEXT, child)) {
            children.emplace_back(child, depth + 1);
        }
        stack.insert(stack.end(), children.rbegin(), children.rend());
    }
    return items;
}

// A screen point on the item's name that the tree itself counts as its name (its text
// rectangle is a few pixels wider than that); false when the item does not show.
static bool LabelPoint(HWND tree, HTREEITEM item, POINT& point)
{
    RemoteBuffer buffer(tree, sizeof(TVHITTESTINFO) + sizeof(RECT));
    if (!buffer.Valid()) {
        return false;
    }
    RECT rect = {};
    std::memcpy(&rect, &item, sizeof item);
    buffer.Write(&rect, sizeof rect);
    if (!Send(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(buffer.Address()))) {
        return false;
    }
    buffer.Read(&rect, sizeof rect);
    RECT client = {};
    GetClientRect(tree, &client);
    const int y = (rect.top + rect.bottom) / 2;
    if (y < client.top || y >= client.bottom) {
        return false;
    }
    // Towards the middle of the name, where the hit test agrees.
    for (int x = (rect.left + rect.right) / 2; x >= rect.left; --x) {
        TVHITTESTINFO hit = {{x, y}, 0, nullptr};
        buffer.Write(&hit, sizeof hit);
        Send(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(buffer.Address()));
        buffer.Read(&hit, sizeof hit);
        if (hit.hItem == item && (hit.flags & TVHT_ONITEMLABEL)) {
            point = {x, y};
            ClientToScreen(tree, &point);
            return true;
        }
    }
    return false;
}

static HWND HandleArgument(const wchar_t* text)
{
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::wcstoul(text, nullptr, 16)));
}

static int TreeCommand(const std::wstring& command, HWND tree, const wchar_t* text)
{
    if (!IsWindow(tree)) {
        std::fprintf(stderr, "wintool: no window %p\n", static_cast<void*>(tree));
        return 1;
    }
    if (command == L"treeedit") {
        HWND edit = reinterpret_cast<HWND>(Send(tree, TVM_GETEDITCONTROL, 0, 0));
        if (!edit) {
            return 1;
        }
        PrintLine(edit);
        return 0;
    }
    const HTREEITEM selected = NextItem(tree, TVGN_CARET, nullptr);
    const HTREEITEM dropTarget = NextItem(tree, TVGN_DROPHILITE, nullptr);
    for (const auto& [item, depth] : TreeItems(tree)) {
        const std::wstring itemText = ItemText(tree, item);
        if (command == L"treeitems") {
            const LRESULT state = Send(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED);
            std::string flags = std::string(item == selected ? "s" : "") +
                                (state & TVIS_EXPANDED ? "e" : "") + (item == dropTarget ? "d" : "");
            std::printf("%d %s %s\n", depth, flags.empty() ? "-" : flags.c_str(), ToUtf8(itemText).c_str());
            continue;
        }
        if (command == L"treelabel" && itemText == text) {
            POINT point = {};
            if (!LabelPoint(tree, item, point)) {
                return 1;
            }
            std::printf("%ld %ld\n", point.x, point.y);
            return 0;
        }
        if (command == L"treeselect" && itemText.find(text) != std::wstring::npos) {
            Send(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
            Send(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
            return 0;
        }
        if (command == L"treeexpand" && itemText.find(text) != std::wstring::npos) {
            Send(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
            return 0;
        }
        if (command == L"treeselect") {
            // Its children may only come when it opens.
            Send(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
        }
    }
    std::fflush(stdout);
    return command == L"treeitems" ? 0 : 1;
}

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        return Usage();
    }
    const std::wstring command = argv[1];
    const int count = argc - 2;
    wchar_t** args = argv + 2;

    if (command == L"list" && count == 0) {
        for (HWND window : TopLevelWindows(L"", nullptr)) {
            PrintLine(window);
        }
        return 0;
    }
    if (command == L"find" && (count == 1 || count == 2)) {
        HWND window = FindFirst(args[0], count == 2 ? args[1] : nullptr);
        if (!window) {
            return 1;
        }
        PrintLine(window);
        return 0;
    }
    if (command == L"count" && count == 1) {
        std::printf("%u\n", static_cast<unsigned>(TopLevelWindows(args[0], nullptr).size()));
        return 0;
    }
    if (command == L"wait" && count == 2) {
        HWND found = nullptr;
        if (!WaitFor(Number(args[1]), [&] { return (found = FindVisible(args[0])) != nullptr; })) {
            return 1;
        }
        PrintLine(found);
        return 0;
    }
    if (command == L"waitexists" && count == 2) {
        HWND found = nullptr;
        if (!WaitFor(Number(args[1]), [&] { return (found = FindFirst(args[0])) != nullptr; })) {
            return 1;
        }
        PrintLine(found);
        return 0;
    }
    if (command == L"waitgone" && count == 2) {
        return WaitFor(Number(args[1]), [&] { return FindVisible(args[0]) == nullptr; }) ? 0 : 1;
    }
    if (command == L"waitnone" && count == 2) {
        return WaitFor(Number(args[1]), [&] { return TopLevelWindows(args[0], nullptr).empty(); }) ? 0 : 1;
    }
    if ((command == L"post" && count == 4) || (command == L"close" && count == 1)) {
        HWND window = FindFirst(args[0]);
        if (!window) {
            std::fprintf(stderr, "wintool: no window of class %ls\n", args[0]);
            return 1;
        }
        const UINT message = command == L"close" ? WM_CLOSE : Number(args[1]);
        const WPARAM wParam = command == L"close" ? 0 : Number(args[2]);
        const LPARAM lParam = command == L"close" ? 0 : static_cast<LPARAM>(Number(args[3]));
        return PostMessageW(window, message, wParam, lParam) ? 0 : 1;
    }
    if (command == L"children" && count == 1) {
        HWND window = FindFirst(args[0]);
        if (!window) {
            return 1;
        }
        EnumChildWindows(window, PrintChild, 0);
        return 0;
    }
    if (command == L"foreground" && count == 0) {
        HWND window = GetForegroundWindow();
        if (!window) {
            return 1;
        }
        PrintLine(window);
        return 0;
    }
    if (command == L"waitfg" && count == 2) {
        HWND found = nullptr;
        const bool in = WaitFor(Number(args[1]), [&] {
            found = GetForegroundWindow();
            return found && _wcsicmp(ClassOf(found).c_str(), args[0]) == 0;
        });
        if (found) {
            PrintLine(found);
        }
        return in ? 0 : 1;
    }
    if (command == L"waitcursor" && count == 3) {
        const long x = static_cast<long>(Number(args[0]));
        const long y = static_cast<long>(Number(args[1]));
        POINT at = {};
        const bool there =
            WaitFor(Number(args[2]), [&] { return GetCursorPos(&at) && at.x == x && at.y == y; });
        if (!there) {
            std::fprintf(stderr, "wintool: the pointer is at (%ld,%ld), not at (%ld,%ld)\n", at.x, at.y, x,
                         y);
        }
        return there ? 0 : 1;
    }
    if (command == L"waitidle" && count == 2) {
        HWND window = FindFirst(args[0]);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        HANDLE process = window ? OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid) : nullptr;
        if (!process) {
            std::fprintf(stderr, "wintool: no process for a window of class %ls\n", args[0]);
            return 1;
        }
        const DWORD waited = WaitForInputIdle(process, Number(args[1]));
        CloseHandle(process);
        return waited == 0 ? 0 : 1;
    }
    if (command == L"buttons" && count == 0) {
        std::printf("left=%d right=%d\n", (GetAsyncKeyState(VK_LBUTTON) & 0x8000) ? 1 : 0,
                    (GetAsyncKeyState(VK_RBUTTON) & 0x8000) ? 1 : 0);
        return 0;
    }
    if (command == L"setfg" && count == 1) {
        HWND window = FindFirst(args[0]);
        return window && SetForegroundWindow(window) ? 0 : 1;
    }
    if (command == L"threadinfo" && (count == 0 || count == 1)) {
        // The input state of the thread that owns the window (of the foreground thread when no
        // class is given): which windows have activation, focus and capture, and the flags.
        DWORD thread = 0;
        if (count == 1) {
            HWND window = FindFirst(args[0]);
            if (!window) {
                return 1;
            }
            thread = GetWindowThreadProcessId(window, nullptr);
        }
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(thread, &info)) {
            return 1;
        }
        auto hex = [](HWND window) {
            return static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window));
        };
        std::printf("flags=0x%lx active=0x%08lx focus=0x%08lx capture=0x%08lx menuowner=0x%08lx\n",
                    static_cast<unsigned long>(info.flags), hex(info.hwndActive), hex(info.hwndFocus),
                    hex(info.hwndCapture), hex(info.hwndMenuOwner));
        return 0;
    }
    if (command == L"menukeys" && count >= 2) {
        // Keys through X reach only the program that owns the X window with the keyboard
        // focus, which need not be the one that shows the menu; SendInput goes where Windows
        // sends keys, to the foreground thread, which a menu's loop runs in.
        std::vector<INPUT> inputs;
        for (int i = 1; i < count; ++i) {
            const WORD key = VirtualKey(args[i]);
            if (!key) {
                std::fprintf(stderr, "wintool: unknown key %ls\n", args[i]);
                return 2;
            }
            for (DWORD up : {0ul, static_cast<unsigned long>(KEYEVENTF_KEYUP)}) {
                INPUT input = {};
                input.type = INPUT_KEYBOARD;
                input.ki.wVk = key;
                input.ki.dwFlags = up;
                inputs.push_back(input);
            }
        }
        if (!WaitFor(Number(args[0]), ForegroundInMenu)) {
            std::fprintf(stderr, "wintool: the foreground thread shows no pop-up menu\n");
            return 1;
        }
        const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        return sent == inputs.size() ? 0 : 1;
    }
    if (command == L"keys" && count >= 1) {
        std::vector<INPUT> inputs;
        for (int i = 0; i < count; ++i) {
            std::wstring name = args[i];
            const wchar_t only = name.back() == L'+' || name.back() == L'-' ? name.back() : 0;
            name.resize(name.size() - (only ? 1 : 0));
            const WORD key = name == L"ctrl"    ? VK_CONTROL
                             : name == L"alt"   ? VK_MENU
                             : name == L"shift" ? VK_SHIFT
                                                : VirtualKey(name);
            if (!key) {
                return Usage();
            }
            for (DWORD up : {0ul, static_cast<unsigned long>(KEYEVENTF_KEYUP)}) {
                // With its scan code, as from a keyboard: a hot-key control names the key by it.
                INPUT input = {};
                input.type = INPUT_KEYBOARD;
                input.ki = {key, static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)), up, 0, 0};
                if (only != (up ? L'+' : L'-')) {
                    inputs.push_back(input);
                }
            }
        }
        return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size() ? 0
                                                                                                          : 1;
    }
    if (command == L"waitthreads" && count == 3) {
        const auto atMost = [pid = static_cast<DWORD>(Number(args[0])), most = Number(args[1])] {
            HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
            THREADENTRY32 entry = {};
            entry.dwSize = sizeof entry;
            unsigned long threads = 0;
            for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
                threads += entry.th32OwnerProcessID == pid;
            }
            CloseHandle(snapshot);
            return threads > 0 && threads <= most;
        };
        return WaitFor(Number(args[2]), atMost) ? 0 : 1;
    }
    if (command == L"acp" && count == 0) {
        std::printf("%u\n", GetACP());
        return 0;
    }
    if (command == L"keeper" && count == 0) {
        return RunWindow(L"WintoolKeeper", L"wintool keeper", false, 0, 0, 0, 0);
    }
    if (command == L"testwindow" && count == 5) {
        g_testTitle = args[0];
        return RunWindow(L"WintoolTestWindow", args[0], true, static_cast<int>(Number(args[1])),
                         static_cast<int>(Number(args[2])), static_cast<int>(Number(args[3])),
                         static_cast<int>(Number(args[4])));
    }
    if (command == L"iconwindow" && count == 5) {
        return RunWindow(L"WintoolIconWindow", args[0], true, static_cast<int>(Number(args[1])),
                         static_cast<int>(Number(args[2])), static_cast<int>(Number(args[3])),
                         static_cast<int>(Number(args[4])), FramedIcon());
    }
    if (command == L"settext" && count == 2) {
        HWND window = HandleArgument(args[0]);
        DWORD_PTR done = 0;
        return IsWindow(window) &&
                       SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[1]),
                                           SMTO_ABORTIFHUNG, 5000, &done) &&
                       done
                   ? 0
                   : 1;
    }
    if (command == L"gettext" && count == 1) {
        HWND window = HandleArgument(args[0]);
        if (!IsWindow(window)) {
            return 1;
        }
        std::printf("%s\n", ToUtf8(TitleOf(window)).c_str());
        return 0;
    }
    if ((command == L"treeitems" || command == L"treeedit") && count == 1) {
        return TreeCommand(command, HandleArgument(args[0]), nullptr);
    }
    if ((command == L"treelabel" || command == L"treeselect" || command == L"treeexpand") && count == 2) {
        return TreeCommand(command, HandleArgument(args[0]), args[1]);
    }
    if (command == L"show" && count == 3) {
        HWND window = FindWindowW(args[0], args[1]);
        if (!window) {
            std::fprintf(stderr, "wintool: no window of class %ls titled %ls\n", args[0], args[1]);
            return 1;
        }
        ShowWindow(window, static_cast<int>(Number(args[2])));
        return 0;
    }
    return Usage();
}
