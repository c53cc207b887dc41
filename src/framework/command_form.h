// A form whose controls and menu items run the commands of one enumeration: its definition
// names them, and the derived form maps each to its handler in one switch (Run). Built with
// -Werror=switch and without a default, a command with no handler does not compile, and the
// definition's type keeps another form's commands out.
#pragma once

#include "framework/form.h"

template <typename Command>
class CommandForm : public Form {
public:
    // What an event runs for a command: the form's Run with the event's sender (null for an
    // event without one). The event's further arguments are not passed on.
    class Handler {
    public:
        Handler(CommandForm* form, Command command) : form_(form), command_(command) {}

        template <typename... Details>
        void operator()(Component* sender, const Details&...) const
        {
            form_->Run(command_, sender);
        }
        void operator()() const { form_->Run(command_, nullptr); }

    private:
        CommandForm* form_;   // not owned: the handler is a member of one of its components
        Command command_;
    };

    // The handler of a command, for the events of components the form makes itself.
    Handler HandlerOf(Command command) { return Handler(this, command); }

protected:
    CommandForm(Component* owner, const FormDef<Command>& definition) : Form(owner, definition) {}

    // Runs the command's handler.
    virtual void Run(Command command, Component* sender) = 0;

    // From now on the definition's events run their commands. Derived constructors call it
    // once their handlers can run. The commands of menu items that open a dialog wait for the
    // menu's end in `dialogs`, which a form with such items must give.
    void BindCommands(DialogPresenter* dialogs = nullptr)
    {
        BindEvents([this](int command) { return NotifyEvent(HandlerOf(static_cast<Command>(command))); },
                   dialogs);
    }
};
