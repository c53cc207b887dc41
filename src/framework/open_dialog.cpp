#include "framework/open_dialog.h"

#include "base/sjis.h"
#include "framework/application.h"

namespace {

OpenDialog::GetOpenFileNameFunction g_getOpenFileName = ::GetOpenFileNameA;

// Room for a long path; the dialog fails rather than cut one that does not fit.
constexpr std::size_t kFileBufferSize = 32768;

}   // namespace

std::string OpenDialog::PlatformFilter(std::string_view filter)
{
    std::string result;
    result.reserve(filter.size() + 2);
    for (std::size_t i = 0; i < filter.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(filter[i])) && i + 1 < filter.size()) {
            result += filter[i];
            result += filter[++i];
        } else {
            result += filter[i] == '|' ? '\0' : filter[i];
        }
    }
    if (result.empty() || result.back() != '\0') {
        result += '\0';
    }
    result += '\0';
    return result;
}

bool OpenDialog::Execute()
{
    const std::string filter = PlatformFilter(filter_);
    std::string file(kFileBufferSize, '\0');
    fileName_.copy(file.data(), std::min(fileName_.size(), kFileBufferSize - 1));

    HWND owner = GetActiveWindow();
    if (!owner && application) {
        owner = application->Handle();
    }
    OPENFILENAMEA info{};
    info.lStructSize = sizeof info;
    info.hwndOwner = owner;
    info.lpstrFilter = filter.c_str();
    info.nFilterIndex = static_cast<DWORD>(filterIndex_);
    info.lpstrFile = file.data();
    info.nMaxFile = static_cast<DWORD>(file.size());
    // Launching uses the current directory for an entry without one: browsing must not move it.
    info.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (!g_getOpenFileName(&info)) {
        return false;
    }
    fileName_ = file.c_str();
    filterIndex_ = static_cast<int>(info.nFilterIndex);
    return true;
}

OpenDialog::GetOpenFileNameFunction OpenDialog::SetGetOpenFileName(GetOpenFileNameFunction function)
{
    GetOpenFileNameFunction previous = g_getOpenFileName;
    g_getOpenFileName = function ? function : ::GetOpenFileNameA;
    return previous;
}
