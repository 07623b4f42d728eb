#include "platform/core/Collections.h"

#include <algorithm>
#include <stdexcept>

IMPLEMENT_SERIAL(CObArray, CObject, 0)
IMPLEMENT_SERIAL(CStringArray, CObject, 0)
IMPLEMENT_SERIAL(CStringList, CObject, 0)
IMPLEMENT_SERIAL(CByteArray, CObject, 0)
IMPLEMENT_SERIAL(CWordArray, CObject, 0)
IMPLEMENT_SERIAL(CDWordArray, CObject, 0)
IMPLEMENT_SERIAL(CUIntArray, CObject, 0)

namespace
{
// Clamps [index, index + count) to the size; answers false when empty.
bool ClampRange(int size, int index, int& count)
{
    if (index < 0 || index >= size || count <= 0)
        return false;
    if (count > size - index)
        count = size - index;
    return true;
}
}  // namespace

// ---------------------------------------------------------------- CObArray

CObArray::~CObArray() { RemoveAll(); }

int CObArray::Add(CObject* pObject)
{
    m_data.push_back(pObject);
    return GetSize() - 1;
}

void CObArray::InsertAt(int index, CObject* pObject, int count)
{
    if (count <= 0)
        return;
    index = std::clamp(index, 0, GetSize());
    m_data.insert(m_data.begin() + index, static_cast<size_t>(count), pObject);
}

void CObArray::DeleteIfUnheld(CObject* pObject)
{
    if (pObject && std::find(m_data.begin(), m_data.end(), pObject) == m_data.end())
        delete pObject;
}

void CObArray::SetAt(int index, CObject* pObject)
{
    if (index < 0 || index >= GetSize())
        return;
    CObject* old = m_data[static_cast<size_t>(index)];
    m_data[static_cast<size_t>(index)] = pObject;
    if (old != pObject)
        DeleteIfUnheld(old);
}

void CObArray::SetSize(int newSize)
{
    if (newSize < 0)
        newSize = 0;
    if (newSize < GetSize())
        RemoveAt(newSize, GetSize() - newSize);
    else
        m_data.resize(static_cast<size_t>(newSize), nullptr);
}

void CObArray::RemoveAt(int index, int count)
{
    if (!ClampRange(GetSize(), index, count))
        return;
    std::vector<CObject*> removed(m_data.begin() + index, m_data.begin() + index + count);
    m_data.erase(m_data.begin() + index, m_data.begin() + index + count);
    std::sort(removed.begin(), removed.end());
    removed.erase(std::unique(removed.begin(), removed.end()), removed.end());
    for (CObject* p : removed)
        DeleteIfUnheld(p);
}

void CObArray::RemoveAll()
{
    std::vector<CObject*> removed;
    removed.swap(m_data);
    std::sort(removed.begin(), removed.end());
    removed.erase(std::unique(removed.begin(), removed.end()), removed.end());
    for (CObject* p : removed)
        delete p;
}

CObject* CObArray::Detach(int index)
{
    if (index < 0 || index >= GetSize())
        return nullptr;
    CObject* p = m_data[static_cast<size_t>(index)];
    m_data.erase(m_data.begin() + index);
    return p;
}

void CObArray::RemoveAtNoDelete(int index, int count)
{
    if (!ClampRange(GetSize(), index, count))
        return;
    m_data.erase(m_data.begin() + index, m_data.begin() + index + count);
}

void CObArray::RemoveAllNoDelete() { m_data.clear(); }

int CObArray::Find(const CObject* pObject) const
{
    auto it = std::find(m_data.begin(), m_data.end(), pObject);
    return it == m_data.end() ? -1 : static_cast<int>(it - m_data.begin());
}

void CObArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar.WriteCount(static_cast<DWORD>(m_data.size()));
        for (CObject* p : m_data)
            ar << p;
    }
    else
    {
        RemoveAll();
        // Every element takes at least its two-byte tag.
        DWORD count = ar.ReadCount(2);
        m_data.reserve(count);
        CRuntimeClass* elementClass = GetElementClass();
        for (DWORD i = 0; i < count; ++i)
            m_data.push_back(ar.ReadObject(elementClass));
    }
}

CObject* ObArrayGetAtChecked(const CObArray* pArray, int index) { return pArray ? pArray->GetAt(index) : nullptr; }

// ---------------------------------------------------------------- CStringArray

namespace
{
const CString& EmptyString()
{
    static const CString empty;
    return empty;
}
}  // namespace

const CString& CStringArray::GetAt(int index) const
{
    return (index >= 0 && index < GetSize()) ? m_data[static_cast<size_t>(index)] : EmptyString();
}

CString& CStringArray::ElementAt(int index) { return m_data.at(static_cast<size_t>(index)); }

void CStringArray::SetAt(int index, const CString& text)
{
    if (index >= 0 && index < GetSize())
        m_data[static_cast<size_t>(index)] = text;
}

int CStringArray::Add(const CString& text)
{
    m_data.push_back(text);
    return GetSize() - 1;
}

void CStringArray::InsertAt(int index, const CString& text, int count)
{
    if (count <= 0)
        return;
    index = std::clamp(index, 0, GetSize());
    m_data.insert(m_data.begin() + index, static_cast<size_t>(count), text);
}

void CStringArray::RemoveAt(int index, int count)
{
    if (ClampRange(GetSize(), index, count))
        m_data.erase(m_data.begin() + index, m_data.begin() + index + count);
}

void CStringArray::SetSize(int newSize) { m_data.resize(newSize > 0 ? static_cast<size_t>(newSize) : 0); }

int CStringArray::Append(const CStringArray& other)
{
    int first = GetSize();
    std::vector<CString> copy = other.m_data;  // other may be *this
    m_data.insert(m_data.end(), copy.begin(), copy.end());
    return first;
}

namespace
{
void SerializeStrings(CArchive& ar, std::vector<CString>& data)
{
    if (ar.IsStoring())
    {
        ar.WriteCount(static_cast<DWORD>(data.size()));
        for (const CString& s : data)
            ar << s;
    }
    else
    {
        data.clear();
        DWORD count = ar.ReadCount(1);  // every string takes at least its length byte
        data.reserve(count);
        for (DWORD i = 0; i < count; ++i)
        {
            CString s;
            ar >> s;
            data.push_back(std::move(s));
        }
    }
}
}  // namespace

void CStringArray::Serialize(CArchive& ar) { SerializeStrings(ar, m_data); }

// ---------------------------------------------------------------- CStringList

void CStringList::AddTail(const CStringList& other)
{
    std::vector<CString> copy = other.m_data;
    m_data.insert(m_data.end(), copy.begin(), copy.end());
}

void CStringList::AddHead(const CString& text) { m_data.insert(m_data.begin(), text); }

CString CStringList::GetHead() const { return m_data.empty() ? CString() : m_data.front(); }

CString CStringList::GetTail() const { return m_data.empty() ? CString() : m_data.back(); }

CString CStringList::RemoveHead()
{
    if (m_data.empty())
        return CString();
    CString head = m_data.front();
    m_data.erase(m_data.begin());
    return head;
}

CString CStringList::RemoveTail()
{
    if (m_data.empty())
        return CString();
    CString tail = m_data.back();
    m_data.pop_back();
    return tail;
}

const CString& CStringList::GetAt(int index) const
{
    return (index >= 0 && index < GetCount()) ? m_data[static_cast<size_t>(index)] : EmptyString();
}

void CStringList::SetAt(int index, const CString& text)
{
    if (index >= 0 && index < GetCount())
        m_data[static_cast<size_t>(index)] = text;
}

void CStringList::InsertAt(int index, const CString& text)
{
    index = std::clamp(index, 0, GetCount());
    m_data.insert(m_data.begin() + index, text);
}

void CStringList::RemoveAt(int index)
{
    if (index >= 0 && index < GetCount())
        m_data.erase(m_data.begin() + index);
}

int CStringList::Find(const char* text, int start) const
{
    for (int i = std::max(start, 0); i < GetCount(); ++i)
    {
        if (m_data[static_cast<size_t>(i)] == text)
            return i;
    }
    return -1;
}

void CStringList::Serialize(CArchive& ar) { SerializeStrings(ar, m_data); }
