// Which of n places are still present, for drawing without replacement: the k-th present place is found
// and removed in log n steps (a Fenwick tree over present flags, searched by binary lifting), so a whole
// draw of n places takes n log n instead of moving the rest of a list after every draw.
#pragma once

#include <cstdint>
#include <vector>

class CPresentPlaces
{
public:
    // Places 0..count-1, all present.
    explicit CPresentPlaces(std::int32_t count)
        : m_Count(count > 0 ? count : 0), m_Tree(static_cast<std::size_t>(m_Count) + 1)
    {
        // With every flag set, each node counts the places it covers: its lowest set bit.
        for (std::int32_t i = 1; i <= m_Count; ++i)
            m_Tree[static_cast<std::size_t>(i)] = i & -i;
        m_TopStep = 1;
        while (m_TopStep * 2 <= m_Count)
            m_TopStep *= 2;
    }

    // Removes the k-th present place (0-based, counted in place order) and returns it; the caller keeps
    // k below the number of places still present.
    std::int32_t TakeNth(std::int32_t k)
    {
        std::int32_t position = 0;
        for (std::int32_t step = m_TopStep; step > 0; step /= 2)
        {
            const std::int32_t next = position + step;
            if (next <= m_Count && m_Tree[static_cast<std::size_t>(next)] <= k)
            {
                position = next;
                k -= m_Tree[static_cast<std::size_t>(next)];
            }
        }
        // position is the count of places before the one found: its 0-based index.
        for (std::int32_t i = position + 1; i <= m_Count; i += i & -i)
            --m_Tree[static_cast<std::size_t>(i)];
        return position;
    }

private:
    std::int32_t m_Count;
    std::vector<std::int32_t> m_Tree; // 1-based; node i counts the present places in (i - lowbit(i), i]
    std::int32_t m_TopStep = 0;
};
