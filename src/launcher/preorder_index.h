// Positions in the parent-first order of a tree that only grows, each look-up and each
// append in logarithmic time whatever the shape: loading a stored tree asks for the node
// at a position of the tree as built so far, once per node.
#pragma once

#include <cstdint>
#include <vector>

class PreorderIndex {
public:
    int Count() const { return static_cast<int>(marks_.size() / 2); }
    // Appends a node as the last child of the node `parent` (as numbered by the appends, from
    // 0), or as the last top-level node for -1; returns the new node's number.
    int Append(int parent);
    // The number of the node at that position of the order, or -1 outside it.
    int At(int position) const;

private:
    // Each node is an opening and a closing mark in one sequence, its subtree between the
    // two, so that appending a child is an insertion right before the parent's closing mark.
    // The sequence is a treap (a search tree by sequence position, balanced by random
    // priorities) whose nodes count the opening marks below them; node n has the marks 2n
    // and 2n + 1.
    struct Mark {
        int left = -1;
        int right = -1;
        int up = -1;
        std::uint32_t priority = 0;
        int opens = 0;   // opening marks in this mark's subtree of the treap, itself included
    };

    static bool Opening(int mark) { return mark % 2 == 0; }
    int Opens(int mark) const { return mark < 0 ? 0 : marks_[mark].opens; }
    void InsertBefore(int mark, int before);
    void RotateUp(int mark);
    void Recount(int mark);

    std::vector<Mark> marks_;
    int root_ = -1;
    std::uint32_t random_ = 0x9E3779B9u;
};
