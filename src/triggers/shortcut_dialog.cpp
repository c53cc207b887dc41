#include "triggers/shortcut_dialog.h"

#include "base/error.h"
#include "forms/shortcut_dialog_form.h"
#include "framework/application.h"
#include "framework/hot_key.h"
#include "framework/message_box.h"
#include "triggers/menu_shortcut.h"

ShortcutDialog::ShortcutDialog(Component* owner, MenuShortcut& shortcut)
    : CommandForm(owner, shortcut_dialog_form::kForm), shortcut_(shortcut)
{
    keyField_ = &Owned<HotKey>("KeyField");
    CenterOnScreen();
    BindCommands();
}

void ShortcutDialog::Run(ShortcutCommand command, Component*)
{
    switch (command) {
    case ShortcutCommand::Accept:
        return Accept();
    case ShortcutCommand::Cancel:
        return Close();
    case ShortcutCommand::Clear:
        return Clear();
    }
}

void ShortcutDialog::Present()
{
    keyField_->SetKey(shortcut_.Key().key, shortcut_.Key().modifiers);
}

void ShortcutDialog::Accept()
{
    const ShortcutKey chosen{keyField_->Key(), keyField_->Modifiers()};
    switch (RefusalOf(chosen)) {
    case ShortcutRefusal::NoControlOrAlt:
        return Refuse(FormatMessageText(
            "%s はほかのプログラムでも使うキーです。Ctrl か Alt を含むキーを選んでください。",
            ShortcutName(chosen)));
    case ShortcutRefusal::ReservedKey:
        return Refuse("F12 は Windows が使うキーです。ほかのキーを選んでください。");
    case ShortcutRefusal::None:
        break;
    }
    if (!shortcut_.Choose(chosen)) {
        return Refuse(FormatMessageText("%s はほかのプログラムが使っています。ほかのキーを選んでください。",
                                        ShortcutName(chosen)));
    }
    Close();
}

void ShortcutDialog::Clear()
{
    shortcut_.Choose({});
    Close();
}

void ShortcutDialog::Refuse(const std::string& message)
{
    ShowTaskModalMessageBox(application ? application->Handle() : Handle(), message,
                            application ? application->Title() : "Mivtra", MB_OK | MB_ICONEXCLAMATION);
    Present();
    keyField_->SetFocus();
}
