#pragma once
// Small pieces that the order, condition, AI data and unit records share:
// flags and narrow integers stored as 16-bit words, values kept at their
// full width, and the guard that refuses order sets, phases and condition
// lists nested deeper than any real file.

#include "platform/core/Archive.h"
#include "platform/core/File.h"

namespace record
{
// A flag as a word, 1 or 0.
inline void WriteFlag(CArchive& ar, BOOL bFlag) { ar << static_cast<WORD>(bFlag ? 1 : 0); }

// A nonzero word sets the flag; a zero word leaves it as constructed.
inline void ReadFlag(CArchive& ar, BOOL& bFlag)
{
    WORD w = 0;
    ar >> w;
    if (w != 0)
        bFlag = TRUE;
}

// An integer kept in a word: the low 16 bits out, sign-extended back in.
inline void WriteWord(CArchive& ar, LONG nValue) { ar << static_cast<WORD>(nValue); }

inline LONG ReadWord(CArchive& ar)
{
    short n = 0;
    ar >> n;
    return n;
}

// The same fields both ways, for the Serialize that lists them once.
inline void SerializeWord(CArchive& ar, int& nValue)
{
    if (ar.IsStoring())
        WriteWord(ar, nValue);
    else
        nValue = ReadWord(ar);
}

inline void SerializeWord(CArchive& ar, DWORD& dwValue)
{
    if (ar.IsStoring())
        WriteWord(ar, static_cast<LONG>(dwValue));
    else
        dwValue = static_cast<DWORD>(ReadWord(ar));
}

inline void SerializeFlag(CArchive& ar, BOOL& bFlag)
{
    if (ar.IsStoring())
        WriteFlag(ar, bFlag);
    else
        ReadFlag(ar, bFlag);
}

// A value at its own width: a 4-byte float, a 32-bit word, a time span.
template <class T>
void SerializeValue(CArchive& ar, T& value)
{
    if (ar.IsStoring())
        ar << value;
    else
        ar >> value;
}
}  // namespace record

// Order sets hold orders that hold order sets, and conditions hold
// condition lists: a hostile file could nest them until the stack runs out.
// Each nested list read takes a level; past MAX_DEPTH the file is refused
// with the archive's "invalid file format" error.
class CRecordNesting
{
public:
    static constexpr int MAX_DEPTH = 32;

    explicit CRecordNesting(CArchive& ar) : m_bActive(ar.IsLoading())
    {
        if (!m_bActive)
            return;
        if (Depth() >= MAX_DEPTH)
        {
            CFile* pFile = ar.GetFile();
            throw CArchiveException(CArchiveException::badIndex, pFile != nullptr ? pFile->GetFilePath() : CString());
        }
        ++Depth();
    }
    ~CRecordNesting()
    {
        if (m_bActive)
            --Depth();
    }
    CRecordNesting(const CRecordNesting&) = delete;
    CRecordNesting& operator=(const CRecordNesting&) = delete;

private:
    static int& Depth()
    {
        thread_local int nDepth = 0;
        return nDepth;
    }

    bool m_bActive;
};
