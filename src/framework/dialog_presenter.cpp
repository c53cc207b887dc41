#include "framework/dialog_presenter.h"

#include "base/scope_exit.h"
#include "framework/form.h"

#include <algorithm>
#include <utility>

NotifyEvent DialogPresenter::AfterMenu(NotifyEvent command)
{
    return [this, command = std::move(command)](Component* sender) {
        queue_.push_back([command, sender] { command(sender); });
        if (!PostMessageA(window_, message_, 0, 0)) {
            // A full queue: better the command now than never.
            queue_.pop_back();
            command(sender);
        }
    };
}

void DialogPresenter::RunQueued()
{
    if (queue_.empty()) {
        return;
    }
    std::function<void()> command = std::move(queue_.front());
    queue_.pop_front();
    command();
}

int DialogPresenter::ShowModal(Form& dialog)
{
    shown_.push_back(&dialog);
    ShownChanged();
    const ScopeExit hidden([this, &dialog] {
        shown_.erase(std::remove(shown_.begin(), shown_.end(), &dialog), shown_.end());
        ShownChanged();
    });
    return dialog.ShowModal();
}

bool DialogPresenter::BringBackIfShown(Form& dialog)
{
    if (!dialog.Visible()) {
        return false;
    }
    SetForegroundWindow(dialog.Handle());
    return true;
}

void DialogPresenter::ShownChanged() const
{
    if (OnShownChange) {
        OnShownChange();
    }
}
