#pragma once

namespace orvo {

/// Where the item at `index` stands once the item at `fromIndex` has moved to `toIndex`:
/// the moved item lands on `toIndex`, the items it passed shift one place towards where it
/// came from, the rest stay. Moving from `toIndex` back to `fromIndex` undoes it.
constexpr int MovedIndex(int index, int fromIndex, int toIndex)
{
    if (index == fromIndex)
        return toIndex;
    if (fromIndex < toIndex && index > fromIndex && index <= toIndex)
        return index - 1;
    if (fromIndex > toIndex && index >= toIndex && index < fromIndex)
        return index + 1;
    return index;
}

} // namespace orvo
