// The launcher tree in its file's sections: kind flags in "FOLDER", parent links in
// "PARENT", each node's texts in "ExecInfo" followed by its absolute index.
#pragma once

#include "base/ini_document.h"
#include "base/tree_model.h"

// Replaces the tree's nodes with the stored list: entry i = 0, 1, ... until the first i
// without a kind flag. A parent link that names no node loaded before it ends the list
// there: the nodes before it stay, and the result is false.
bool LoadLaunchTree(const IniDocument& file, TreeModel& tree);

// Writes the tree over the stored list: both index sections are rewritten whole and every
// node's own section replaced. Sections of numbers past the tree, and of other names, stay.
// Every text is written so that loading gives it back exactly (IniDocument::LiteralValue).
void SaveLaunchTree(const TreeModel& tree, IniDocument& file);
