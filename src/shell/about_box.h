// The about box: names the program and its version and offers the author's mail address and
// home page; shown modally from the pop-up menu.
#pragma once

#include "framework/form.h"
#include "framework/shell_open.h"

#include <windows.h>

class TAboutBox : public Form {
public:
    // Created hidden and centred on the screen; `open` opens the author's links.
    TAboutBox(Component* owner, ShellOpenFunction open);

    // "閉じる(&C)": closes the box.
    void Button1Click(Component* sender);
    // "メール送信": a mail to the author in the user's mail program.
    void Button2Click(Component* sender);
    // "webを開く": the author's home page in the browser.
    void Button3Click(Component* sender);

    // The handlers the form's definition binds by name.
    static Span<HandlerDef<TAboutBox>> Handlers();

private:
    void Open(const char* link);

    ShellOpenFunction open_;
};
