#include "components/notify_window.h"

#include "components/task_tray.h"
#include "framework/application.h"
#include "framework/form.h"

namespace {
constexpr char kWindowClass[] = "TNotifyWindow";
}

NotifyWindow::NotifyWindow(Component* owner) : CustomWindow(owner)
{
    RegisterWindowClass(kWindowClass);
    if (auto* form = dynamic_cast<Form*>(owner); form && form->HandleAllocated()) {
        CreateHandle(kWindowClass, "", WS_CHILD, 0, 0, 0, 0, 0, form->Handle());
    } else {
        CreateHandle(kWindowClass, "", WS_POPUP, 0, 0, 0, 0, 0,
                     application ? application->Handle() : nullptr);
    }
}

NotifyWindow::~NotifyWindow()
{
    // While the handle still exists: the icons added through it are taken out of the tray.
    TaskTray::MessageWindowDestroyed(this);
}

LRESULT NotifyWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kTrayCallbackMessage) {
        TaskTray::Dispatch(wParam, lParam);
        return 0;
    }
    return CustomWindow::WndProc(message, wParam, lParam);
}
