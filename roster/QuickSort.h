#pragma once

#include <utility>
#include <vector>

namespace ordering {

// The roster's quicksort over positions left to right of list. compare(a, b)
// answers less than, equal to or greater than 0 and must be a consistent
// order. Not stable: entries with equal keys change places as the steps
// below decide, and the roster's ordering commands rely on exactly that order.
template <typename Entry, typename Compare>
void quickSort(std::vector<Entry> &list, int left, int right, const Compare &compare) {
    int i;
    do {
        i = left;
        int j = right;
        // The pivot is tracked by position and followed when it is swapped.
        int p = left + (right - left) / 2;
        do {
            while (compare(list[i], list[p]) < 0)
                ++i;
            while (compare(list[j], list[p]) > 0)
                --j;
            if (i <= j) {
                std::swap(list[i], list[j]);
                if (p == i)
                    p = j;
                else if (p == j)
                    p = i;
                ++i;
                --j;
            }
        } while (i <= j);
        if (left < j)
            quickSort(list, left, j, compare);
        left = i;
    } while (i < right);
}

template <typename Entry, typename Compare>
void quickSort(std::vector<Entry> &list, const Compare &compare) {
    if (list.size() >= 2)
        quickSort(list, 0, static_cast<int>(list.size()) - 1, compare);
}

} // namespace ordering
