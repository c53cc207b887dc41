// The main of the Win32 test programs of the program's windows: an application object as the
// program has one, message boxes answered by the test instead of waiting for a user, and a
// check that no test leaves a modal loop waiting for the next.
#include "framework/application.h"
#include "menu_test_support.h"
#include "win32_test_support.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(NewModalLoopChecker());
    Application app;
    app.Initialize(GetModuleHandleA(nullptr));
    app.SetTitle("Mivtra");
    RecordMessageBoxes();
    return RUN_ALL_TESTS();
}
