#include "windowlist/task_menu_item.h"

#include "base/menu_text.h"

TaskMenuItem::TaskMenuItem(Component* owner, TaskWindow window) : MenuItem(owner), window_(std::move(window))
{
    SetCaption(LiteralMenuText(window_.title));
    SetHint(window_.className);
    SetImageIndex(window_.imageIndex);
}
