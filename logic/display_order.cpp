#include "logic/display_order.h"

namespace logic {

std::optional<DropMove> DropOnto(int from, int onto, int count) {
    if (from < 0 || onto < 0 || from >= count || onto >= count) return std::nullopt;
    if (onto == from || onto == from + 1) return std::nullopt;
    // Moving down, the rows between close up behind it.
    return DropMove{from, onto, onto < from ? onto : onto - 1};
}

}  // namespace logic
