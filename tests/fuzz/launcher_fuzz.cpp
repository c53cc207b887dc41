// libFuzzer target: any bytes as a LAUNCH.INI loaded into the launcher tree, the tree edited
// as the dialog edits it (choices taken from the same bytes), then saved and loaded again.
// Checks that absolute indexes stay consistent, that the menu plan always finds a parent
// before its children, and that a save followed by a load keeps the tree's shape and every
// name, File, Option and Dir byte for byte (the quoting rule of the save).
#include "base/ini_document.h"
#include "base/tree_model.h"
#include "launcher/launch_entry.h"
#include "launcher/launch_file.h"
#include "launcher/launch_menu_plan.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

static void Check(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

// Each node's parent index (-1 at the top level) and whether it is a folder.
static std::vector<std::pair<int, bool>> Shape(const TreeModel& tree)
{
    std::vector<std::pair<int, bool>> shape;
    for (int i = 0; i < tree.Count(); ++i) {
        const TreeNode* node = tree.Node(i);
        Check(node && node->AbsoluteIndex() == i);
        const TreeNode* parent = node->Parent();
        const int parentIndex = parent ? parent->AbsoluteIndex() : -1;
        Check(parentIndex < i);
        shape.emplace_back(parentIndex, EntryOf(node) == nullptr);
    }
    return shape;
}

// Each node's name and, for an item, its entry's three texts.
static std::vector<std::string> Texts(const TreeModel& tree)
{
    std::vector<std::string> texts;
    for (int i = 0; i < tree.Count(); ++i) {
        texts.push_back(tree.Node(i)->Text());
        if (const LaunchEntry* entry = EntryOf(tree.Node(i))) {
            for (const std::string* text : {&entry->File, &entry->Option, &entry->Dir}) {
                texts.push_back(*text);
            }
        }
    }
    return texts;
}

// The last bytes of the input pick a few edits.
static void Edit(TreeModel& tree, std::string_view bytes)
{
    const std::size_t count = bytes.size() < 12 ? bytes.size() : 12;
    for (std::size_t i = 0; i + 2 < count && tree.Count() > 0; i += 3) {
        const auto pick = [&](std::size_t k) {
            return tree.Node(static_cast<unsigned char>(bytes[bytes.size() - 1 - i - k]) % tree.Count());
        };
        TreeNode* node = pick(0);
        TreeNode* target = pick(1);
        switch (static_cast<unsigned char>(bytes[bytes.size() - 1 - i - 2]) % 5) {
        case 0:
            tree.Delete(node);
            break;
        case 1:
            tree.MoveToFirstChild(node, target);
            break;
        case 2:
            tree.MoveAfter(node, target);
            break;
        case 3:
            tree.MoveToLastChild(node, nullptr);
            break;
        default:
            tree.AddChild(target, "added");
            break;
        }
    }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TreeModel tree;
    LoadLaunchTree(IniDocument::Parse(bytes), tree);
    Shape(tree);

    Edit(tree, bytes);
    const std::vector<std::pair<int, bool>> shape = Shape(tree);
    // Every item's parent item comes before it, so a build finds it.
    std::vector<bool> planned(shape.size(), false);
    for (const LaunchMenuEntry& entry : PlanLaunchMenu(tree)) {
        Check(entry.index >= 0 && entry.index < static_cast<int>(shape.size()) && !planned[entry.index]);
        Check(entry.parent == shape[entry.index].first ||
              (entry.parent == kUnderLaunch && shape[entry.index].first < 0));
        Check(entry.parent == kUnderLaunch || planned[entry.parent]);
        planned[entry.index] = true;
    }

    IniDocument file = IniDocument::Parse(bytes);
    SaveLaunchTree(tree, file);
    TreeModel reloaded;
    Check(LoadLaunchTree(IniDocument::Parse(file.Serialize()), reloaded));
    Check(Shape(reloaded) == shape);
    Check(Texts(reloaded) == Texts(tree));
    return 0;
}
