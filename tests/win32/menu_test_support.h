// Driving modal loops from a test: a pop-up menu or a modal form runs its own message loop, so
// the test acts from inside it, from a thread timer that waits for the state it needs. Every
// wait is bounded: a loop that never reaches that state, or never ends once the test acted,
// fails the test and is ended, so that nothing stalls the run until its time limit.
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

class Form;

// How long any wait for a state of a modal loop may take.
constexpr DWORD kModalWaitMs = 5000;

// The open pop-up menu window of this thread, or null.
HWND OpenMenuWindow();

// Closes the pop-up menu this thread opens next the moment its window shows, after an
// optional look at it. Call it before the opening, or from the menu's OnPopup. Should no menu
// show, or the menu stay open, for kModalWaitMs, the test fails and the menu is ended anyway.
void CloseMenuWhenOpen(std::function<void(HWND menuWindow)> look = nullptr);

// Acts inside the modal loop that the test enters while this object lives: once `ready`
// holds, runs `act`, which should end the loop. Should `ready` not hold within kModalWaitMs,
// or the loop still run kModalWaitMs after `act`, the test fails and `end` ends the loop.
class ModalAction {
public:
    ModalAction(std::string what, std::function<bool()> ready, std::function<void()> act,
                std::function<void()> end);
    // For a form shown modally: ready once it shows, ended by closing it.
    ModalAction(Form& form, std::function<void()> act);
    // Fails the test when `act` never ran.
    ~ModalAction();
    ModalAction(const ModalAction&) = delete;
    ModalAction& operator=(const ModalAction&) = delete;

    struct Watch;

private:
    std::shared_ptr<Watch> watch_;
};

// Fails the test that leaves a menu closer waiting or a menu open at its end, and stops the
// closer, so that nothing of one test acts in the next. The test programs' main installs it.
testing::TestEventListener* NewModalLoopChecker();
