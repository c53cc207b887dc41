// The launcher tree as text, to compare in tests: one line per node in absolute order,
// indented by depth, with its name, its two pictures and, for an item, its entry's texts.
#pragma once

#include "base/integer.h"
#include "base/tree_model.h"
#include "launcher/launch_entry.h"

#include <string>

enum class EntryTexts { kFile, kAll };

inline std::string Listing(const TreeModel& tree, EntryTexts texts = EntryTexts::kAll)
{
    std::string text;
    for (int i = 0; i < tree.Count(); ++i) {
        const TreeNode* node = tree.Node(i);
        for (const TreeNode* p = node->Parent(); p; p = p->Parent()) {
            text += "  ";
        }
        text +=
            node->Text() + " " + IntegerText(node->ImageIndex()) + "/" + IntegerText(node->SelectedIndex());
        if (const LaunchEntry* entry = EntryOf(node)) {
            text += " [" + entry->File;
            if (texts == EntryTexts::kAll) {
                text += "|" + entry->Option + "|" + entry->Dir;
            }
            text += "]";
        }
        text += "\n";
    }
    return text;
}
