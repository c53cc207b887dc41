#include "shell/about_box.h"

#include "forms/about_box_form.h"
#include "framework/handles.h"

AboutBox::AboutBox(Component* owner, ShellOpenFunction open)
    : CommandForm(owner, about_box_form::kForm), open_(std::move(open))
{
    CenterOnScreen();
    BindCommands();
}

void AboutBox::Run(AboutCommand command, Component*)
{
    switch (command) {
    case AboutCommand::Close:
        return Close();
    case AboutCommand::WriteMail:
        return WriteMail();
    case AboutCommand::OpenHomePage:
        return OpenHomePage();
    }
}

void AboutBox::WriteMail()
{
    Open(kAuthorMailLink);
}

void AboutBox::OpenHomePage()
{
    Open(kAuthorHomePage);
}

void AboutBox::Open(const char* link)
{
    if (open_) {
        // Nothing waits for the mail program or the browser.
        UniqueKernelHandle process(open_(link, "", "open", "", SW_SHOW));
    }
}
