#pragma once

#include <optional>

namespace logic {

// One drag in the display-order list: the entry at `from` goes directly in
// front of the entry it was dropped on.
struct DropMove {
    int from = 0;
    int before = 0;   // the row it is put in front of, counted before the move
    int landsAt = 0;  // its row after the move
};

// The move for an entry pressed at row `from` and released on row `onto` of a
// list of `count` rows; nothing when it would stay where it is (dropped on
// itself or on the entry just below it) or a row is outside the list.
std::optional<DropMove> DropOnto(int from, int onto, int count);

}  // namespace logic
