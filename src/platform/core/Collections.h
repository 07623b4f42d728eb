#pragma once
// Collections of the persistent classes and their archive forms.
//
// CObArray OWNS its elements: RemoveAt, RemoveAll, SetAt (the replaced
// element), SetSize (the cut elements) and the destructor delete them.
// A pointer held in several slots is deleted once, when its last slot goes.
// To take an element out without deleting it use Detach / RemoveAtNoDelete /
// RemoveAllNoDelete. Do not `delete arr[i]` yourself before RemoveAt.
// GetAt and operator[] answer null for an index outside the array.
//
// Archive form of every collection: its count (CArchive::WriteCount), then
// the elements: class-tagged objects for object arrays, archive strings for
// string arrays and lists, raw little-endian values for the value arrays.
// Loading first empties the collection. An object array reads its elements
// as their owner (CArchive::ReadObject): a file that names one object in two
// places raises the archive exception, and an array that states its element
// class (GetElementClass, TypedObArray) refuses any other class before the
// object is made. An array whose elements are of a known class must state it.

#include "platform/core/Archive.h"
#include "platform/core/CString.h"
#include "platform/core/Object.h"
#include "platform/core/Types.h"

#include <vector>

class CObArray : public CObject
{
    DECLARE_SERIAL(CObArray)
public:
    CObArray() = default;
    ~CObArray() override;
    CObArray(const CObArray&) = delete;
    CObArray& operator=(const CObArray&) = delete;

    int GetSize() const { return static_cast<int>(m_data.size()); }
    int GetCount() const { return GetSize(); }
    int GetUpperBound() const { return GetSize() - 1; }
    BOOL IsEmpty() const { return m_data.empty(); }

    // Null outside the array. Inline: the game's passes read their arrays
    // many thousand times a tick.
    CObject* GetAt(int index) const
    {
        return (index >= 0 && index < GetSize()) ? m_data[static_cast<size_t>(index)] : nullptr;
    }
    CObject* operator[](int index) const { return GetAt(index); }

    int Add(CObject* pObject);                                  // takes ownership; its index
    void InsertAt(int index, CObject* pObject, int count = 1);  // index clamped to 0..size
    void SetAt(int index, CObject* pObject);                    // deletes the replaced element
    void SetSize(int newSize);                                  // new slots are null
    void RemoveAt(int index, int count = 1);                    // deletes the removed elements
    void RemoveAll();                                           // deletes every element

    CObject* Detach(int index);  // removes without deleting
    void RemoveAtNoDelete(int index, int count = 1);
    void RemoveAllNoDelete();

    int Find(const CObject* pObject) const;  // index or -1
    // Exchanges the elements (and with them their ownership).
    void Swap(CObArray& other) { m_data.swap(other.m_data); }

    // Loading checks each element against this class (null: any class).
    virtual CRuntimeClass* GetElementClass() const { return nullptr; }
    void Serialize(CArchive& ar) override;

    std::vector<CObject*>::const_iterator begin() const { return m_data.begin(); }
    std::vector<CObject*>::const_iterator end() const { return m_data.end(); }

private:
    void DeleteIfUnheld(CObject* pObject);
    std::vector<CObject*> m_data;
};

// The bounds-checked read of an object array: the element, or null when the
// array is null or the index is outside it.
CObject* ObArrayGetAtChecked(const CObArray* pArray, int index);

// An owning object array whose elements are all T (checked when loading).
// A serialisable class derives from it: class CUnitArray : public
// TypedObArray<CUnit> { DECLARE_SERIAL(CUnitArray) ... }, and
// IMPLEMENT_SERIAL(CUnitArray, CObArray, 1).
template <class T>
class TypedObArray : public CObArray
{
public:
    T* GetAt(int index) const { return static_cast<T*>(CObArray::GetAt(index)); }
    T* operator[](int index) const { return GetAt(index); }
    int Add(T* pObject) { return CObArray::Add(pObject); }
    void InsertAt(int index, T* pObject, int count = 1) { CObArray::InsertAt(index, pObject, count); }
    void SetAt(int index, T* pObject) { CObArray::SetAt(index, pObject); }
    T* Detach(int index) { return static_cast<T*>(CObArray::Detach(index)); }
    CRuntimeClass* GetElementClass() const override { return T::GetThisClass(); }
};

class CStringArray : public CObject
{
    DECLARE_SERIAL(CStringArray)
public:
    CStringArray() = default;
    CStringArray(const CStringArray&) = default;
    CStringArray& operator=(const CStringArray&) = default;

    int GetSize() const { return static_cast<int>(m_data.size()); }
    int GetCount() const { return GetSize(); }
    int GetUpperBound() const { return GetSize() - 1; }
    BOOL IsEmpty() const { return m_data.empty(); }

    const CString& GetAt(int index) const;  // empty outside the array
    const CString& operator[](int index) const { return GetAt(index); }
    CString& ElementAt(int index);               // throws std::out_of_range outside
    void SetAt(int index, const CString& text);  // ignored outside the array
    int Add(const CString& text);
    void InsertAt(int index, const CString& text, int count = 1);
    void RemoveAt(int index, int count = 1);
    void RemoveAll() { m_data.clear(); }
    void SetSize(int newSize);
    int Append(const CStringArray& other);  // index of the first appended
    void Copy(const CStringArray& other) { m_data = other.m_data; }

    void Serialize(CArchive& ar) override;

    std::vector<CString>::const_iterator begin() const { return m_data.begin(); }
    std::vector<CString>::const_iterator end() const { return m_data.end(); }

private:
    std::vector<CString> m_data;
};

// A list of strings, used through indexes (0 is the head).
class CStringList : public CObject
{
    DECLARE_SERIAL(CStringList)
public:
    CStringList() = default;
    CStringList(const CStringList&) = default;
    CStringList& operator=(const CStringList&) = default;

    int GetCount() const { return static_cast<int>(m_data.size()); }
    int GetSize() const { return GetCount(); }
    BOOL IsEmpty() const { return m_data.empty(); }

    void AddTail(const CString& text) { m_data.push_back(text); }
    void AddTail(const CStringList& other);
    void AddHead(const CString& text);
    CString GetHead() const;  // empty when the list is empty
    CString GetTail() const;
    CString RemoveHead();  // empty when the list is empty
    CString RemoveTail();
    const CString& GetAt(int index) const;       // empty outside the list
    void SetAt(int index, const CString& text);  // ignored outside the list
    void InsertAt(int index, const CString& text);
    void RemoveAt(int index);
    void RemoveAll() { m_data.clear(); }
    int Find(const char* text, int start = 0) const;  // index of an exact match or -1

    void Serialize(CArchive& ar) override;

    std::vector<CString>::const_iterator begin() const { return m_data.begin(); }
    std::vector<CString>::const_iterator end() const { return m_data.end(); }

private:
    std::vector<CString> m_data;
};

// Arrays of plain values (BYTE, WORD, DWORD, UINT); archive form: the count,
// then each value at its own width.
template <class T>
class CValueArray : public CObject
{
public:
    int GetSize() const { return static_cast<int>(m_data.size()); }
    int GetCount() const { return GetSize(); }
    int GetUpperBound() const { return GetSize() - 1; }
    BOOL IsEmpty() const { return m_data.empty(); }

    T GetAt(int index) const { return InRange(index) ? m_data[static_cast<size_t>(index)] : T(0); }
    T operator[](int index) const { return GetAt(index); }
    T& ElementAt(int index) { return m_data.at(static_cast<size_t>(index)); }
    void SetAt(int index, T value)
    {
        if (InRange(index))
            m_data[static_cast<size_t>(index)] = value;
    }
    int Add(T value)
    {
        m_data.push_back(value);
        return GetSize() - 1;
    }
    void InsertAt(int index, T value, int count = 1);
    void RemoveAt(int index, int count = 1);
    void RemoveAll() { m_data.clear(); }
    void SetSize(int newSize) { m_data.resize(newSize > 0 ? static_cast<size_t>(newSize) : 0, T(0)); }

    void Serialize(CArchive& ar) override;

    typename std::vector<T>::const_iterator begin() const { return m_data.begin(); }
    typename std::vector<T>::const_iterator end() const { return m_data.end(); }

private:
    bool InRange(int index) const { return index >= 0 && index < GetSize(); }
    std::vector<T> m_data;
};

class CByteArray : public CValueArray<BYTE>
{
    DECLARE_SERIAL(CByteArray)
};
class CWordArray : public CValueArray<WORD>
{
    DECLARE_SERIAL(CWordArray)
};
class CDWordArray : public CValueArray<DWORD>
{
    DECLARE_SERIAL(CDWordArray)
};
class CUIntArray : public CValueArray<UINT>
{
    DECLARE_SERIAL(CUIntArray)
};

template <class T>
void CValueArray<T>::InsertAt(int index, T value, int count)
{
    if (count <= 0)
        return;
    if (index < 0)
        index = 0;
    if (index > GetSize())
        index = GetSize();
    m_data.insert(m_data.begin() + index, static_cast<size_t>(count), value);
}

template <class T>
void CValueArray<T>::RemoveAt(int index, int count)
{
    if (index < 0 || index >= GetSize() || count <= 0)
        return;
    int last = index + count > GetSize() ? GetSize() : index + count;
    m_data.erase(m_data.begin() + index, m_data.begin() + last);
}

template <class T>
void CValueArray<T>::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar.WriteCount(static_cast<DWORD>(m_data.size()));
        for (T value : m_data)
            ar << value;
    }
    else
    {
        m_data.clear();
        DWORD count = ar.ReadCount(sizeof(T));
        m_data.reserve(count);
        for (DWORD i = 0; i < count; ++i)
        {
            T value;
            ar >> value;
            m_data.push_back(value);
        }
    }
}
