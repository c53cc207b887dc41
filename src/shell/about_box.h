// The about box: names the program and its version and offers the author's mail address and
// home page; shown modally from the pop-up menu.
#pragma once

#include "framework/command_form.h"
#include "framework/shell_open.h"

#include <windows.h>

enum class AboutCommand;

class AboutBox : public CommandForm<AboutCommand> {
public:
    // Created hidden and centred on the screen; `open` opens the author's links.
    AboutBox(Component* owner, ShellOpenFunction open);

    // "メール送信": a mail to the author in the user's mail program.
    void WriteMail();
    // "webを開く": the author's home page in the browser.
    void OpenHomePage();

protected:
    // "閉じる(&C)" closes the box.
    void Run(AboutCommand command, Component* sender) override;

private:
    void Open(const char* link);

    ShellOpenFunction open_;
};
