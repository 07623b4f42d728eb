#pragma once
// CArchive: the binary archive every data file, saved game and network
// record is written in. The byte layout is the one the program's files have
// always had (little-endian):
//   BYTE 1 byte, WORD/short 2, DWORD/int/LONG 4, float 4, double 8 bytes;
//   CTime and CTimeSpan as 4-byte seconds;
//   strings: a length byte below 255; or 0xFF and a WORD below 0xFFFE; or
//     0xFF, 0xFFFF and a DWORD; then the bytes. The WORD 0xFFFE is the old
//     framework's marker of a wide-character string, so a string of 65,534
//     bytes is written in the long form; reading still takes 0xFFFE as a
//     length, as files written before did;
//   counts: a WORD below 0xFFFF, or 0xFFFF and a DWORD;
//   objects: null is WORD 0; a class's first object is WORD 0xFFFF, the
//     schema WORD, the name length WORD and the name, then its fields; a
//     later object of a known class is WORD 0x8000|class index; an object
//     written again is WORD its own index. Classes and objects share one
//     index counter that starts at 1; indexes above 0x7FFE are written as
//     WORD 0x7FFF and a DWORD (with bit 31 set for a class index).
//
// A loading archive never trusts its input: every read checks the bytes left
// first and raises CArchiveException (endOfFile) rather than read past the
// end; a count or string length larger than the bytes left is refused before
// anything is allocated for it. Unknown class names raise badClass, wrong
// schemas badSchema, bad back references badIndex.
//
// Ownership: an object read from the archive has exactly one owner, the
// one that read it with ReadObject (or `ar >> p`). A file that names the
// same object again where an owner is expected (twice in one array, in two
// arrays, or an array inside itself) raises badIndex, because both owners
// would delete it. A holder that shares an object on purpose reads it with
// ReadObjectRef: that answers an object read before (or null) without
// taking it, and refuses one that has not been read yet.
//
// Typed reads name the base class they accept (the element class of an
// object array, the T of `ar >> pT`); a class outside it raises badClass
// before the object is constructed, so a file cannot make the loader build
// an object of an unrelated class (a window, a sound device).
//
// Every exception names the archive's file. A reader that finds a value it
// cannot accept raises through ThrowArchiveException, which adds the file
// name and, when given, the reason ("'Demo.emp' could not be read: ..."; a
// storing archive's file "could not be written").

#include "platform/core/CString.h"
#include "platform/core/Object.h"
#include "platform/core/Time.h"
#include "platform/core/Types.h"

#include <type_traits>
#include <unordered_map>
#include <vector>

class CFile;

class CArchiveException : public CException
{
public:
    enum
    {
        none,
        generic,
        readOnly,
        endOfFile,
        writeOnly,
        badIndex,
        badClass,
        badSchema
    };

    // With a reason the text is "'<file>' could not be read: <reason>."
    // ("could not be written" when the archive was storing); without one,
    // the cause's own text and the file name.
    explicit CArchiveException(int cause = generic, const CString& fileName = CString(),
                               const CString& reason = CString(), bool storing = false);

    int m_cause;
    CString m_strFileName;
    CString m_strReason;
};

class CArchive
{
public:
    enum Mode
    {
        store = 0,
        load = 1,
        bNoFlushOnDelete = 2
    };

    // The archive does not own the file. The buffer size only sets how much
    // is read or written to the file at a time; buffer is unused (kept for
    // the familiar signature).
    CArchive(CFile* pFile, UINT mode, int bufferSize = 4096, void* buffer = nullptr);
    ~CArchive();  // flushes a storing archive unless closed or aborted
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return m_loading; }
    BOOL IsStoring() const { return !m_loading; }
    CFile* GetFile() const { return m_pFile; }

    void Flush();  // storing: writes the buffered bytes to the file
    void Close();  // flushes and detaches from the file
    void Abort();  // detaches without flushing

    // Raw bytes. Read answers how many bytes it could read (fewer at the end).
    UINT Read(void* buffer, UINT count);
    void Write(const void* buffer, UINT count);

    // Bytes still to be read (loading); readers of large tables check with
    // EnsureBytesLeft before allocating.
    ULONGLONG GetBytesLeft() const;
    void EnsureBytesLeft(ULONGLONG needed) const;  // throws endOfFile

    // Counts: minBytesEach is the least number of bytes one counted item
    // takes in the archive; a count whose items cannot fit raises endOfFile.
    DWORD ReadCount(UINT minBytesEach = 1);
    void WriteCount(DWORD count);

    // Class-tagged objects. ReadObject creates the object through its class
    // record and lets it read itself; the caller owns it. With an expected
    // class it raises badClass unless the object IsKindOf that class (for
    // a new object, before it is constructed). A back reference to an
    // object that already has its owner raises badIndex. An object that
    // throws while reading itself is deleted before the exception passes on.
    CObject* ReadObject(const CRuntimeClass* expected);
    // The same for a holder that takes objects of several classes which
    // share no base of their own: the test is asked about the class (for a
    // new object before it is made) and a class it refuses raises badClass.
    using ClassTest = BOOL (*)(const CRuntimeClass* pClass);
    CObject* ReadObjectPassing(ClassTest accept);
    // A reference that does not own: null or an object read before (owned
    // or not); anything else raises badIndex. The archive's owner decides
    // the object's life.
    CObject* ReadObjectRef(const CRuntimeClass* expected);
    template <class T>
    T* ReadReference()
    {
        return static_cast<T*>(ReadObjectRef(T::GetThisClass()));
    }
    void WriteObject(const CObject* pObject);

    // Raises CArchiveException with this archive's file name; the reason,
    // when given, says what in the file was wrong.
    [[noreturn]] void ThrowArchiveException(int cause, const CString& reason = CString()) const;

    // Archive strings (the same as << and >> of a CString).
    void ReadCString(CString& text);
    void WriteCString(const CString& text);

    CArchive& operator<<(BYTE v);
    CArchive& operator<<(char v) { return *this << static_cast<BYTE>(v); }
    CArchive& operator<<(WORD v);
    CArchive& operator<<(short v) { return *this << static_cast<WORD>(v); }
    CArchive& operator<<(DWORD v);
    CArchive& operator<<(int v) { return *this << static_cast<DWORD>(v); }
    CArchive& operator<<(float v);
    CArchive& operator<<(double v);
    CArchive& operator<<(const CObject* pObject)
    {
        WriteObject(pObject);
        return *this;
    }
    // Give the width explicitly for these.
    CArchive& operator<<(bool) = delete;
    CArchive& operator<<(long) = delete;
    CArchive& operator<<(unsigned long) = delete;
    CArchive& operator<<(long long) = delete;
    CArchive& operator<<(unsigned long long) = delete;

    CArchive& operator>>(BYTE& v);
    CArchive& operator>>(char& v);
    CArchive& operator>>(WORD& v);
    CArchive& operator>>(short& v);
    CArchive& operator>>(DWORD& v);
    CArchive& operator>>(int& v);
    CArchive& operator>>(float& v);
    CArchive& operator>>(double& v);
    CArchive& operator>>(bool&) = delete;
    CArchive& operator>>(long&) = delete;
    CArchive& operator>>(unsigned long&) = delete;
    CArchive& operator>>(long long&) = delete;
    CArchive& operator>>(unsigned long long&) = delete;

private:
    struct LoadEntry
    {
        CRuntimeClass* pClass;  // set for a class entry
        CObject* pObject;       // set for an object entry (null for index 0)
        bool owned;             // an owner has taken the object
    };

    CObject* ReadObjectAs(const CRuntimeClass* expected, bool owning, ClassTest accept = nullptr);

    void FillBuffer(UINT needed);  // loading: throws endOfFile when short
    void ReadBytes(void* dest, UINT count);
    CRuntimeClass* ReadClass(const CRuntimeClass* expected, DWORD* objectTag, ClassTest accept);
    void WriteClass(const CRuntimeClass* pClass);
    void MapNewEntry();

    CFile* m_pFile;
    bool m_loading;
    bool m_noFlushOnDelete;
    UINT m_bufferSize;
    std::vector<BYTE> m_buffer;  // loading: bytes read ahead; storing: bytes to write
    size_t m_bufPos = 0;         // loading: next byte to hand out

    DWORD m_mapCount = 1;  // the next index of the shared class/object table
    std::vector<LoadEntry> m_loadTable;
    std::unordered_map<const void*, DWORD> m_storeMap;
};

CArchive& operator<<(CArchive& ar, const CString& text);
CArchive& operator>>(CArchive& ar, CString& text);
CArchive& operator<<(CArchive& ar, const char* text);
CArchive& operator<<(CArchive& ar, CTime t);
CArchive& operator>>(CArchive& ar, CTime& t);
CArchive& operator<<(CArchive& ar, CTimeSpan t);
CArchive& operator>>(CArchive& ar, CTimeSpan& t);

// Typed object read: `ar >> pUnit` with CUnit* pUnit reads an object that
// must be a CUnit (or derived), else badClass.
template <class T>
requires std::is_base_of_v<CObject, T> CArchive& operator>>(CArchive& ar, T*& pObject)
{
    pObject = static_cast<T*>(ar.ReadObject(T::GetThisClass()));
    return ar;
}
