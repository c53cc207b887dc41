// The shortcut dialog: the user presses the key that is to open the pop-up menu; "決定" keeps
// it when the program may take it, "解除" leaves the menu without a shortcut.
#pragma once

#include "framework/command_form.h"

#include <string>

class HotKey;
class MenuShortcut;
enum class ShortcutCommand;

class ShortcutDialog : public CommandForm<ShortcutCommand> {
public:
    // Created hidden and centred on the screen; chooses the key of `shortcut` (not owned).
    ShortcutDialog(Component* owner, MenuShortcut& shortcut);

    // Shows the shortcut's key in the field; the dialog is shown modally next.
    void Present();
    HotKey& KeyField() const { return *keyField_; }

    // "決定": the key in the field becomes the shortcut, unless it is refused (a box says why
    // and the field shows the shortcut as it was again). An empty field: no shortcut.
    void Accept();
    // "解除": no shortcut.
    void Clear();

protected:
    void Run(ShortcutCommand command, Component* sender) override;

private:
    // Says why the key is refused and shows the shortcut as it was.
    void Refuse(const std::string& message);

    MenuShortcut& shortcut_;
    HotKey* keyField_ = nullptr;   // owned by the form
};
