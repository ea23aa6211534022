// Passes over the items of a large book. The items lie in memory in the order they were made, which a
// sort or a shuffle of the book order leaves behind; a pass in book order would then wait for memory at
// every item in turn. These passes start loading each item a few places ahead, so the waits overlap.
#pragma once

#include "model/items/Datatypes.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace lf::collection
{

// How many items ahead a pass starts loading.
constexpr std::ptrdiff_t kItemsAhead = 12;

// Starts loading the item at index i of the list when there is one: the first two cache lines of the
// object, where the fields a pass reads stand. The item itself is not read.
inline void PrefetchItem(CBaseItem* const* first, CBaseItem* const* last, std::ptrdiff_t i)
{
    if (i < last - first)
    {
        const char* item = reinterpret_cast<const char*>(first[i]);
        __builtin_prefetch(item);
        __builtin_prefetch(item + 64);
    }
}

inline void PrefetchItem(const CBaseItemPtrArray& items, std::int32_t i)
{
    PrefetchItem(items.begin(), items.end(), i);
}

// The items of a list in list order, for a range-for loop that loads them ahead.
class CItemPass
{
public:
    class Iterator
    {
    public:
        Iterator(CBaseItem* const* at, CBaseItem* const* last) : m_At(at), m_Last(last) {}
        CBaseItem* operator*() const { return *m_At; }
        Iterator& operator++()
        {
            ++m_At;
            PrefetchItem(m_At, m_Last, kItemsAhead);
            return *this;
        }
        bool operator!=(const Iterator& other) const { return m_At != other.m_At; }

    private:
        CBaseItem* const* m_At;
        CBaseItem* const* m_Last;
    };

    CItemPass(CBaseItem* const* first, CBaseItem* const* last) : m_First(first), m_Last(last) {}
    explicit CItemPass(const CBaseItemPtrArray& items) : CItemPass(items.begin(), items.end()) {}

    Iterator begin() const
    {
        for (std::ptrdiff_t i = 0; i < kItemsAhead; ++i)
            PrefetchItem(m_First, m_Last, i);
        return Iterator(m_First, m_Last);
    }
    Iterator end() const { return Iterator(m_Last, m_Last); }

private:
    CBaseItem* const* m_First;
    CBaseItem* const* m_Last;
};

} // namespace lf::collection
