// The about box: names the program and its version and offers the author's mail address and
// home page; shown modally from the pop-up menu.
#pragma once

#include "framework/form.h"

#include <windows.h>

#include <functional>
#include <string>

class TAboutBox : public Form {
public:
    // Opens a file or link through the shell: file, parameters, verb, directory, show command.
    // Returns the started process's handle, which the caller closes, or null.
    using OpenFunction =
        std::function<HANDLE(const std::string& file, const std::string& parameters, const std::string& verb,
                             const std::string& directory, int show)>;

    // Created hidden and centred on the screen; `open` is the main window's shell execution.
    TAboutBox(Component* owner, OpenFunction open);

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

    OpenFunction open_;
};
