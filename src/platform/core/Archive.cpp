#include "platform/core/Archive.h"

#include "platform/core/File.h"

#include <cstring>

namespace
{
constexpr WORD kNullTag = 0;
constexpr WORD kNewClassTag = 0xFFFF;
constexpr WORD kClassTag = 0x8000;
constexpr WORD kBigObjectTag = 0x7FFF;
constexpr DWORD kBigClassTag = 0x80000000;
constexpr DWORD kMaxMapCount = 0x3FFFFFFE;
constexpr BYTE kStringEscapeByte = 0xFF;
constexpr WORD kStringEscapeWord = 0xFFFF;
// The old framework reads this length word as the marker of a wide-character
// string; no narrow string is written with it.
constexpr WORD kWideStringMarker = 0xFFFE;
constexpr WORD kCountEscape = 0xFFFF;
constexpr UINT kMaxClassNameLength = 63;
// Objects nest only a few levels in real files; a deeper chain is a corrupt
// or hostile file and would otherwise exhaust the stack.
constexpr int kMaxObjectDepth = 200;

const char* CauseText(int cause)
{
    switch (cause)
    {
    case CArchiveException::none: return "No error occurred";
    case CArchiveException::readOnly: return "Tried to write into an archive opened for loading";
    case CArchiveException::endOfFile: return "Reached the end of the file while reading an object";
    case CArchiveException::writeOnly: return "Tried to read from an archive opened for storing";
    case CArchiveException::badIndex: return "Invalid file format";
    case CArchiveException::badClass: return "Unexpected object found while reading";
    case CArchiveException::badSchema: return "Unexpected version of an object found while reading";
    default: return "Unexpected error while reading or writing";
    }
}

CString ArchiveText(int cause, const CString& fileName, const CString& reason, bool storing)
{
    if (!reason.IsEmpty())
    {
        CString name = fileName.IsEmpty() ? CString("The file") : CString("'") + fileName + "'";
        return name + (storing ? " could not be written: " : " could not be read: ") + reason + ".";
    }
    CString text = CauseText(cause);
    if (!fileName.IsEmpty())
        text += CString(" in '") + fileName + "'";
    text += ".";
    return text;
}
}  // namespace

CArchiveException::CArchiveException(int cause, const CString& fileName, const CString& reason, bool storing)
    : CException(ArchiveText(cause, fileName, reason, storing)),
      m_cause(cause),
      m_strFileName(fileName),
      m_strReason(reason)
{
}

CArchive::CArchive(CFile* pFile, UINT mode, int bufferSize, void*)
    : m_pFile(pFile),
      m_loading((mode & load) != 0),
      m_noFlushOnDelete((mode & bNoFlushOnDelete) != 0),
      m_bufferSize(bufferSize < 128 ? 128u : static_cast<UINT>(bufferSize))
{
    m_loadTable.push_back(LoadEntry{nullptr, nullptr, false});  // index 0: null
}

CArchive::~CArchive()
{
    if (m_pFile && !m_noFlushOnDelete)
    {
        try
        {
            Close();
        }
        catch (...)
        {
            // A destructor cannot report the failure; Close() explicitly to see it.
        }
    }
}

void CArchive::ThrowArchiveException(int cause, const CString& reason) const
{
    throw CArchiveException(cause, m_pFile ? m_pFile->GetFilePath() : CString(), reason, !m_loading);
}

void CArchive::Flush()
{
    if (!m_pFile)
        return;
    if (m_loading)
    {
        // Give back the bytes read ahead so the file stands where the archive does.
        size_t unread = m_buffer.size() - m_bufPos;
        if (unread > 0)
            m_pFile->Seek(-static_cast<LONG>(unread), CFile::current);
        m_buffer.clear();
        m_bufPos = 0;
    }
    else if (!m_buffer.empty())
    {
        std::vector<BYTE> pending;
        pending.swap(m_buffer);
        m_pFile->Write(pending.data(), static_cast<UINT>(pending.size()));
    }
}

void CArchive::Close()
{
    if (!m_pFile)
        return;
    try
    {
        Flush();
    }
    catch (...)
    {
        m_pFile = nullptr;
        throw;
    }
    m_pFile = nullptr;
}

void CArchive::Abort()
{
    m_buffer.clear();
    m_bufPos = 0;
    m_pFile = nullptr;
}

ULONGLONG CArchive::GetBytesLeft() const
{
    if (!m_loading || !m_pFile)
        return 0;
    ULONGLONG buffered = m_buffer.size() - m_bufPos;
    DWORD length = m_pFile->GetLength();
    DWORD position = m_pFile->GetPosition();
    return buffered + (length > position ? length - position : 0);
}

void CArchive::EnsureBytesLeft(ULONGLONG needed) const
{
    if (!m_loading)
        ThrowArchiveException(CArchiveException::writeOnly);
    if (needed > m_buffer.size() - m_bufPos && needed > GetBytesLeft())
        ThrowArchiveException(CArchiveException::endOfFile);
}

void CArchive::FillBuffer(UINT needed)
{
    size_t available = m_buffer.size() - m_bufPos;
    if (available >= needed)
        return;
    if (!m_pFile)
        ThrowArchiveException(CArchiveException::generic);
    if (m_bufPos > 0)
    {
        m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(m_bufPos));
        m_bufPos = 0;
    }
    while (m_buffer.size() < needed)
    {
        size_t old = m_buffer.size();
        m_buffer.resize(old + m_bufferSize);
        UINT got = m_pFile->Read(m_buffer.data() + old, m_bufferSize);
        m_buffer.resize(old + got);
        if (got == 0)
            ThrowArchiveException(CArchiveException::endOfFile);
    }
}

void CArchive::ReadBytes(void* dest, UINT count)
{
    if (!m_loading)
        ThrowArchiveException(CArchiveException::writeOnly);
    if (count == 0)
        return;
    size_t available = m_buffer.size() - m_bufPos;
    if (available < count)
    {
        EnsureBytesLeft(count);
        if (count > m_bufferSize)
        {
            // Large blocks go straight from the file.
            BYTE* out = static_cast<BYTE*>(dest);
            if (available > 0)
                std::memcpy(out, m_buffer.data() + m_bufPos, available);
            m_buffer.clear();
            m_bufPos = 0;
            UINT rest = count - static_cast<UINT>(available);
            UINT got = m_pFile->Read(out + available, rest);
            if (got != rest)
                ThrowArchiveException(CArchiveException::endOfFile);
            return;
        }
        FillBuffer(count);
    }
    std::memcpy(dest, m_buffer.data() + m_bufPos, count);
    m_bufPos += count;
}

UINT CArchive::Read(void* buffer, UINT count)
{
    if (!m_loading)
        ThrowArchiveException(CArchiveException::writeOnly);
    ULONGLONG left = GetBytesLeft();
    UINT n = left < count ? static_cast<UINT>(left) : count;
    ReadBytes(buffer, n);
    return n;
}

void CArchive::Write(const void* buffer, UINT count)
{
    if (m_loading)
        ThrowArchiveException(CArchiveException::readOnly);
    if (!m_pFile)
        ThrowArchiveException(CArchiveException::generic);
    const BYTE* p = static_cast<const BYTE*>(buffer);
    m_buffer.insert(m_buffer.end(), p, p + count);
    if (m_buffer.size() >= m_bufferSize)
        Flush();
}

CArchive& CArchive::operator<<(BYTE v)
{
    Write(&v, 1);
    return *this;
}

CArchive& CArchive::operator<<(WORD v)
{
    BYTE b[2] = {static_cast<BYTE>(v), static_cast<BYTE>(v >> 8)};
    Write(b, 2);
    return *this;
}

CArchive& CArchive::operator<<(DWORD v)
{
    BYTE b[4] = {static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16),
                 static_cast<BYTE>(v >> 24)};
    Write(b, 4);
    return *this;
}

CArchive& CArchive::operator<<(float v)
{
    static_assert(sizeof(float) == 4);
    DWORD bits;
    std::memcpy(&bits, &v, 4);
    return *this << bits;
}

CArchive& CArchive::operator<<(double v)
{
    static_assert(sizeof(double) == 8);
    ULONGLONG bits;
    std::memcpy(&bits, &v, 8);
    *this << static_cast<DWORD>(bits);
    return *this << static_cast<DWORD>(bits >> 32);
}

CArchive& CArchive::operator>>(BYTE& v)
{
    ReadBytes(&v, 1);
    return *this;
}

CArchive& CArchive::operator>>(char& v)
{
    BYTE b;
    *this >> b;
    v = static_cast<char>(b);
    return *this;
}

CArchive& CArchive::operator>>(WORD& v)
{
    BYTE b[2];
    ReadBytes(b, 2);
    v = static_cast<WORD>(b[0] | (b[1] << 8));
    return *this;
}

CArchive& CArchive::operator>>(short& v)
{
    WORD w;
    *this >> w;
    v = static_cast<short>(w);
    return *this;
}

CArchive& CArchive::operator>>(DWORD& v)
{
    BYTE b[4];
    ReadBytes(b, 4);
    v = static_cast<DWORD>(b[0]) | (static_cast<DWORD>(b[1]) << 8) | (static_cast<DWORD>(b[2]) << 16) |
        (static_cast<DWORD>(b[3]) << 24);
    return *this;
}

CArchive& CArchive::operator>>(int& v)
{
    DWORD d;
    *this >> d;
    v = static_cast<int>(d);
    return *this;
}

CArchive& CArchive::operator>>(float& v)
{
    DWORD bits;
    *this >> bits;
    std::memcpy(&v, &bits, 4);
    return *this;
}

CArchive& CArchive::operator>>(double& v)
{
    DWORD lo, hi;
    *this >> lo >> hi;
    ULONGLONG bits = (static_cast<ULONGLONG>(hi) << 32) | lo;
    std::memcpy(&v, &bits, 8);
    return *this;
}

DWORD CArchive::ReadCount(UINT minBytesEach)
{
    WORD w;
    *this >> w;
    DWORD count = w;
    if (w == kCountEscape)
        *this >> count;
    if (minBytesEach > 0)
        EnsureBytesLeft(static_cast<ULONGLONG>(count) * minBytesEach);
    return count;
}

void CArchive::WriteCount(DWORD count)
{
    if (count < kCountEscape)
    {
        *this << static_cast<WORD>(count);
    }
    else
    {
        *this << kCountEscape;
        *this << count;
    }
}

void CArchive::ReadCString(CString& text)
{
    BYTE b;
    *this >> b;
    DWORD length = b;
    if (b == kStringEscapeByte)
    {
        WORD w;
        *this >> w;
        length = w;
        if (w == kStringEscapeWord)
            *this >> length;
    }
    EnsureBytesLeft(length);
    std::string bytes(length, '\0');
    ReadBytes(bytes.data(), length);
    text = CString(std::move(bytes));
}

void CArchive::WriteCString(const CString& text)
{
    DWORD length = static_cast<DWORD>(text.GetLength());
    if (length < kStringEscapeByte)
    {
        *this << static_cast<BYTE>(length);
    }
    else
    {
        *this << kStringEscapeByte;
        if (length < kWideStringMarker)
        {
            *this << static_cast<WORD>(length);
        }
        else
        {
            *this << kStringEscapeWord;
            *this << length;
        }
    }
    Write(text.GetString(), length);
}

void CArchive::MapNewEntry()
{
    if (m_mapCount >= kMaxMapCount)
        ThrowArchiveException(CArchiveException::badIndex);
    ++m_mapCount;
}

void CArchive::WriteClass(const CRuntimeClass* pClass)
{
    auto it = m_storeMap.find(pClass);
    if (it != m_storeMap.end())
    {
        DWORD index = it->second;
        if (index < kBigObjectTag)
        {
            *this << static_cast<WORD>(kClassTag | index);
        }
        else
        {
            *this << kBigObjectTag;
            *this << (kBigClassTag | index);
        }
        return;
    }
    if (pClass->m_wSchema == 0xFFFF || !pClass->m_lpszClassName)
        ThrowArchiveException(CArchiveException::badClass);
    WORD nameLength = static_cast<WORD>(std::strlen(pClass->m_lpszClassName));
    *this << kNewClassTag;
    *this << static_cast<WORD>(pClass->m_wSchema);
    *this << nameLength;
    Write(pClass->m_lpszClassName, nameLength);
    m_storeMap[pClass] = m_mapCount;
    MapNewEntry();
}

void CArchive::WriteObject(const CObject* pObject)
{
    if (m_loading)
        ThrowArchiveException(CArchiveException::readOnly);
    if (!pObject)
    {
        *this << kNullTag;
        return;
    }
    auto it = m_storeMap.find(pObject);
    if (it != m_storeMap.end())
    {
        DWORD index = it->second;
        if (index < kBigObjectTag)
        {
            *this << static_cast<WORD>(index);
        }
        else
        {
            *this << kBigObjectTag;
            *this << index;
        }
        return;
    }
    WriteClass(pObject->GetRuntimeClass());
    m_storeMap[pObject] = m_mapCount;
    MapNewEntry();
    const_cast<CObject*>(pObject)->Serialize(*this);
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* expected, DWORD* objectTag, ClassTest accept)
{
    WORD tag;
    *this >> tag;
    DWORD fullTag;
    if (tag == kBigObjectTag)
        *this >> fullTag;
    else
        fullTag = (static_cast<DWORD>(tag & kClassTag) << 16) | (tag & ~kClassTag & 0xFFFF);

    if (!(fullTag & kBigClassTag))
    {
        *objectTag = fullTag;
        return nullptr;
    }

    CRuntimeClass* pClass = nullptr;
    if (tag == kNewClassTag)
    {
        WORD schema, nameLength;
        *this >> schema >> nameLength;
        EnsureBytesLeft(nameLength);
        if (nameLength > kMaxClassNameLength)
            ThrowArchiveException(CArchiveException::badClass);
        char name[kMaxClassNameLength + 1] = {};
        ReadBytes(name, nameLength);
        pClass = CRuntimeClass::FromName(name);
        if (!pClass || !pClass->m_pfnCreateObject || pClass->m_wSchema == 0xFFFF)
            ThrowArchiveException(CArchiveException::badClass);
        if (schema != pClass->m_wSchema)
            ThrowArchiveException(CArchiveException::badSchema);
        m_loadTable.push_back(LoadEntry{pClass, nullptr, false});
        MapNewEntry();
    }
    else
    {
        DWORD index = fullTag & ~kBigClassTag;
        if (index == 0 || index >= m_loadTable.size() || !m_loadTable[index].pClass)
            ThrowArchiveException(CArchiveException::badIndex);
        pClass = m_loadTable[index].pClass;
    }
    if (expected && !pClass->IsDerivedFrom(expected))
        ThrowArchiveException(CArchiveException::badClass);
    if (accept && !accept(pClass))
        ThrowArchiveException(CArchiveException::badClass);
    return pClass;
}

CObject* CArchive::ReadObject(const CRuntimeClass* expected) { return ReadObjectAs(expected, true); }

CObject* CArchive::ReadObjectRef(const CRuntimeClass* expected) { return ReadObjectAs(expected, false); }

CObject* CArchive::ReadObjectPassing(ClassTest accept) { return ReadObjectAs(nullptr, true, accept); }

CObject* CArchive::ReadObjectAs(const CRuntimeClass* expected, bool owning, ClassTest accept)
{
    if (!m_loading)
        ThrowArchiveException(CArchiveException::writeOnly);
    DWORD objectTag = 0;
    CRuntimeClass* pClass = ReadClass(expected, &objectTag, accept);
    if (!pClass)
    {
        if (objectTag == 0)
            return nullptr;
        if (objectTag >= m_loadTable.size() || m_loadTable[objectTag].pClass)
            ThrowArchiveException(CArchiveException::badIndex);
        LoadEntry& entry = m_loadTable[objectTag];
        if (!entry.pObject)  // an object whose reading failed earlier
            ThrowArchiveException(CArchiveException::badIndex);
        if (expected && !entry.pObject->IsKindOf(expected))
            ThrowArchiveException(CArchiveException::badClass);
        if (accept && !accept(entry.pObject->GetRuntimeClass()))
            ThrowArchiveException(CArchiveException::badClass);
        if (owning)
        {
            // Two owners would both delete it.
            if (entry.owned)
                ThrowArchiveException(CArchiveException::badIndex, "it holds one object in two places");
            entry.owned = true;
        }
        return entry.pObject;
    }
    if (!owning)
        ThrowArchiveException(CArchiveException::badIndex, "a reference comes before the object it refers to");

    static thread_local int depth = 0;
    if (depth >= kMaxObjectDepth)
        ThrowArchiveException(CArchiveException::generic, "its objects nest deeper than any real file's");

    CObject* pObject = pClass->CreateObject();
    if (!pObject)
        ThrowArchiveException(CArchiveException::badClass);
    size_t slot = m_loadTable.size();
    // The reader owns the object from the start: a reference to it from
    // inside its own fields cannot take it a second time.
    m_loadTable.push_back(LoadEntry{nullptr, pObject, true});
    ++depth;
    try
    {
        MapNewEntry();
        pObject->Serialize(*this);
    }
    catch (...)
    {
        --depth;
        m_loadTable[slot].pObject = nullptr;
        delete pObject;
        throw;
    }
    --depth;
    return pObject;
}

CArchive& operator<<(CArchive& ar, const CString& text)
{
    ar.WriteCString(text);
    return ar;
}

CArchive& operator>>(CArchive& ar, CString& text)
{
    ar.ReadCString(text);
    return ar;
}

CArchive& operator<<(CArchive& ar, const char* text)
{
    ar.WriteCString(CString(text));
    return ar;
}

CArchive& operator<<(CArchive& ar, CTime t) { return ar << static_cast<DWORD>(t.GetTime()); }

CArchive& operator>>(CArchive& ar, CTime& t)
{
    DWORD v;
    ar >> v;
    t = CTime(static_cast<LONG>(v));
    return ar;
}

CArchive& operator<<(CArchive& ar, CTimeSpan t) { return ar << static_cast<DWORD>(t.GetTotalSeconds()); }

CArchive& operator>>(CArchive& ar, CTimeSpan& t)
{
    DWORD v;
    ar >> v;
    t = CTimeSpan(static_cast<LONG>(v));
    return ar;
}
