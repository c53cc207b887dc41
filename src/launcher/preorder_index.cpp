#include "launcher/preorder_index.h"

int PreorderIndex::Append(int parent)
{
    const int node = Count();
    marks_.resize(marks_.size() + 2);
    const int before = parent < 0 ? -1 : 2 * parent + 1;
    InsertBefore(2 * node, before);
    InsertBefore(2 * node + 1, before);
    return node;
}

int PreorderIndex::At(int position) const
{
    if (position < 0 || position >= Count()) {
        return -1;
    }
    int mark = root_;
    while (mark >= 0) {
        const Mark& m = marks_[mark];
        const int leftOpens = Opens(m.left);
        if (position < leftOpens) {
            mark = m.left;
            continue;
        }
        position -= leftOpens;
        if (Opening(mark)) {
            if (position == 0) {
                return mark / 2;
            }
            --position;
        }
        mark = m.right;
    }
    return -1;
}

void PreorderIndex::InsertBefore(int mark, int before)
{
    // xorshift32: the priorities only need to look random to the shape of the input.
    random_ ^= random_ << 13;
    random_ ^= random_ >> 17;
    random_ ^= random_ << 5;
    Mark& m = marks_[mark];
    m.priority = random_;
    m.opens = Opening(mark) ? 1 : 0;
    if (root_ < 0) {
        root_ = mark;
        return;
    }
    // The place in sequence order: the left child of `before` when it has none, else the
    // right end of its left subtree; the right end of everything when appending.
    int parent;
    bool asLeft;
    if (before < 0) {
        parent = root_;
        while (marks_[parent].right >= 0) {
            parent = marks_[parent].right;
        }
        asLeft = false;
    } else if (marks_[before].left < 0) {
        parent = before;
        asLeft = true;
    } else {
        parent = marks_[before].left;
        while (marks_[parent].right >= 0) {
            parent = marks_[parent].right;
        }
        asLeft = false;
    }
    (asLeft ? marks_[parent].left : marks_[parent].right) = mark;
    m.up = parent;
    for (int above = parent; above >= 0; above = marks_[above].up) {
        marks_[above].opens += m.opens;
    }
    while (m.up >= 0 && marks_[m.up].priority < m.priority) {
        RotateUp(mark);
    }
}

// Lifts the mark over its parent, keeping the sequence order.
void PreorderIndex::RotateUp(int mark)
{
    Mark& m = marks_[mark];
    const int parent = m.up;
    Mark& p = marks_[parent];
    const int grand = p.up;
    if (p.left == mark) {
        p.left = m.right;
        if (m.right >= 0) {
            marks_[m.right].up = parent;
        }
        m.right = parent;
    } else {
        p.right = m.left;
        if (m.left >= 0) {
            marks_[m.left].up = parent;
        }
        m.left = parent;
    }
    p.up = mark;
    m.up = grand;
    if (grand < 0) {
        root_ = mark;
    } else if (marks_[grand].left == parent) {
        marks_[grand].left = mark;
    } else {
        marks_[grand].right = mark;
    }
    Recount(parent);
    Recount(mark);
}

void PreorderIndex::Recount(int mark)
{
    Mark& m = marks_[mark];
    m.opens = Opens(m.left) + Opens(m.right) + (Opening(mark) ? 1 : 0);
}
