// Every form definition of the program binds only handlers its form class has.
#include "forms/about_box_form.h"
#include "forms/tconf_form.h"
#include "forms/ttaskm_form.h"
#include "launcher/TCONF.h"
#include "shell/TTASKM.h"
#include "shell/about_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(FormTables, EveryHandlerNameResolves)
{
    EXPECT_EQ(std::vector<std::string>{}, MissingHandlers(ttaskm_form::kForm, TTASKM::Handlers()));
    EXPECT_EQ(std::vector<std::string>{}, MissingHandlers(tconf_form::kForm, TCONF::Handlers()));
    EXPECT_EQ(std::vector<std::string>{}, MissingHandlers(about_box_form::kForm, TAboutBox::Handlers()));
}
