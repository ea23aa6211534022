// CArray: the program's own growable array, the container of every list of records, with its fixed
// growth rule, and the shuffles and search that the items and the display use on it.
#pragma once

#include "model/support/PresentPlaces.h"
#include "platform/sys/SystemServices.h"

#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>
#include <utility>

template <class TYPE, class ARG_TYPE = const TYPE&> class CArray
{
public:
    CArray() = default;
    CArray(const CArray& other) { Copy(other); }
    CArray& operator=(const CArray& other)
    {
        if (this != &other)
        {
            RemoveAll();
            Copy(other);
        }
        return *this;
    }
    CArray(CArray&& other) noexcept
        : m_pData(std::exchange(other.m_pData, nullptr)), m_nSize(std::exchange(other.m_nSize, 0)),
          m_nMaxSize(std::exchange(other.m_nMaxSize, 0)), m_nGrowBy(std::exchange(other.m_nGrowBy, 0))
    {
    }
    CArray& operator=(CArray&& other) noexcept
    {
        if (this != &other)
        {
            RemoveAll();
            m_pData = std::exchange(other.m_pData, nullptr);
            m_nSize = std::exchange(other.m_nSize, 0);
            m_nMaxSize = std::exchange(other.m_nMaxSize, 0);
            m_nGrowBy = std::exchange(other.m_nGrowBy, 0);
        }
        return *this;
    }
    ~CArray() { RemoveAll(); }

    std::int32_t GetSize() const { return m_nSize; }
    std::int32_t GetCapacity() const { return m_nMaxSize; }
    std::int32_t GetGrowBy() const { return m_nGrowBy; }
    TYPE* GetData() { return m_pData; }
    const TYPE* GetData() const { return m_pData; }

    // Element i; the caller has checked 0 <= i < GetSize().
    TYPE& ElementAt(std::int32_t i) { return m_pData[i]; }
    const TYPE& ElementAt(std::int32_t i) const { return m_pData[i]; }
    TYPE GetAt(std::int32_t i) const { return m_pData[i]; }
    TYPE& operator[](std::int32_t i) { return m_pData[i]; }
    const TYPE& operator[](std::int32_t i) const { return m_pData[i]; }

    // Grows or shrinks to newSize live elements. A growBy other than -1 becomes the growth step;
    // 0 means automatic growth (one eighth of the size, 4 to 1024 places).
    void SetSize(std::int32_t newSize, std::int32_t growBy = -1)
    {
        if (growBy != -1)
            m_nGrowBy = growBy;
        if (newSize <= 0)
        {
            FreeAll();
            return;
        }
        if (!m_pData)
        {
            // The first block is exact.
            m_pData = Allocate(newSize);
            ConstructRange(m_pData, 0, newSize);
            m_nSize = m_nMaxSize = newSize;
            return;
        }
        if (newSize <= m_nMaxSize)
        {
            if (newSize > m_nSize)
                ConstructRange(m_pData, m_nSize, newSize);
            else
                DestroyRange(newSize, m_nSize);
            m_nSize = newSize;
            return;
        }
        std::int32_t growth = m_nGrowBy;
        if (growth == 0)
        {
            growth = m_nSize / 8;
            if (growth < 4)
                growth = 4;
            else if (growth > 1024)
                growth = 1024;
        }
        Relocate(newSize < m_nMaxSize + growth ? m_nMaxSize + growth : newSize);
        ConstructRange(m_pData, m_nSize, newSize);
        m_nSize = newSize;
    }

    // Makes room for capacity elements without changing the size or the growth step, so that a reader
    // that knows its count appends without moving the elements again and again.
    void Reserve(std::int32_t capacity)
    {
        if (capacity > m_nMaxSize)
            Relocate(capacity);
    }

    // Sets element i to value, growing the array to i + 1 elements first when needed.
    void SetAtGrow(std::int32_t i, ARG_TYPE value)
    {
        if (i >= m_nSize)
        {
            // value may live in this array's block: keep a copy across the growth.
            TYPE copy(value);
            SetSize(i + 1);
            m_pData[i] = std::move(copy);
            return;
        }
        m_pData[i] = value;
    }

    // Appends value and returns its index (the old size).
    std::int32_t Add(ARG_TYPE value)
    {
        const std::int32_t index = m_nSize;
        SetAtGrow(index, value);
        return index;
    }

    // Removes count elements from index i; the caller has checked 0 <= i and i + count <= GetSize().
    void RemoveAt(std::int32_t i, std::int32_t count = 1)
    {
        if (count <= 0)
            return;
        for (std::int32_t k = i; k + count < m_nSize; ++k)
            m_pData[k] = std::move(m_pData[k + count]);
        DestroyRange(m_nSize - count, m_nSize);
        m_nSize -= count;
    }

    // Inserts value before index i (0 <= i <= GetSize()).
    void InsertAt(std::int32_t i, ARG_TYPE value)
    {
        TYPE copy(value);
        SetSize(m_nSize + 1);
        for (std::int32_t k = m_nSize - 1; k > i; --k)
            m_pData[k] = std::move(m_pData[k - 1]);
        m_pData[i] = std::move(copy);
    }

    void RemoveAll() { SetSize(0); }

    TYPE* begin() { return m_pData; }
    TYPE* end() { return m_pData + m_nSize; }
    const TYPE* begin() const { return m_pData; }
    const TYPE* end() const { return m_pData + m_nSize; }

private:
    static TYPE* Allocate(std::int32_t count)
    {
        return static_cast<TYPE*>(::operator new(sizeof(TYPE) * static_cast<std::size_t>(count)));
    }

    // Every new element starts from zeroed storage, then its default construction runs.
    static void ConstructRange(TYPE* block, std::int32_t from, std::int32_t to)
    {
        for (std::int32_t i = from; i < to; ++i)
            ::new (static_cast<void*>(block + i)) TYPE();
    }

    void DestroyRange(std::int32_t from, std::int32_t to)
    {
        for (std::int32_t i = from; i < to; ++i)
            m_pData[i].~TYPE();
    }

    // Moves the elements into a new block of newMax places.
    void Relocate(std::int32_t newMax)
    {
        TYPE* block = Allocate(newMax);
        // Elements are relocated by move construction: a text may point into itself, so a bitwise
        // move would corrupt it.
        for (std::int32_t i = 0; i < m_nSize; ++i)
        {
            ::new (static_cast<void*>(block + i)) TYPE(std::move(m_pData[i]));
            m_pData[i].~TYPE();
        }
        ::operator delete(static_cast<void*>(m_pData));
        m_pData = block;
        m_nMaxSize = newMax;
    }

    void FreeAll()
    {
        if (m_pData)
        {
            DestroyRange(0, m_nSize);
            ::operator delete(static_cast<void*>(m_pData));
        }
        m_pData = nullptr;
        m_nSize = m_nMaxSize = 0;
    }

    void Copy(const CArray& other)
    {
        m_nGrowBy = other.m_nGrowBy;
        if (other.m_nSize == 0)
            return;
        SetSize(other.m_nSize);
        for (std::int32_t i = 0; i < m_nSize; ++i)
            m_pData[i] = other.m_pData[i];
    }

    TYPE* m_pData = nullptr;
    std::int32_t m_nSize = 0;
    std::int32_t m_nMaxSize = 0;
    std::int32_t m_nGrowBy = 0;
};

using CStringArray = CArray<std::string>;
using CIntArray = CArray<std::int32_t, std::int32_t>;

// Puts the elements in a random order: draws without replacement, each draw taking the r-th of the
// elements not yet drawn (r from the program's generator, below their count). Fewer than two elements
// draw nothing.
template <class TYPE, class ARG_TYPE> void ShuffleArray(CArray<TYPE, ARG_TYPE>& array)
{
    const std::int32_t count = array.GetSize();
    if (count <= 1)
        return;
    CArray<TYPE, ARG_TYPE> drawn;
    drawn.SetSize(count, array.GetGrowBy());
    CPresentPlaces left(count);
    for (std::int32_t i = 0; i < count; ++i)
        drawn[i] = std::move(array[left.TakeNth(lf::sys::Random(count - i))]);
    array = std::move(drawn);
}

inline void ShuffleStringArray(CStringArray& array)
{
    ShuffleArray(array);
}

inline void ShuffleIntArray(CIntArray& array)
{
    ShuffleArray(array);
}

// True when some element equals text exactly (case-sensitive).
inline bool StringArrayContains(const CStringArray& array, const std::string& text)
{
    for (const auto& element : array)
        if (element == text)
            return true;
    return false;
}
