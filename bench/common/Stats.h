#pragma once

#include <algorithm>

/// The middle of a run's figures; 0 for none.
template <typename Figures> double median(Figures v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
