#pragma once
// CString: single-byte text (Windows-1252 bytes are kept as they are; case
// operations only touch ASCII letters). Every operation is bounds-safe:
// indexes and counts outside the text are clamped, never read past it.

#include "platform/core/Types.h"

#include <cstddef>
#include <functional>
#include <string>

class CString
{
public:
    CString() = default;
    CString(const char* text);              // null gives an empty string
    CString(const char* text, int length);  // the first length bytes (clamped at 0)
    CString(char ch, int repeat = 1);
    CString(const std::string& text) : m_text(text) {}
    CString(std::string&& text) : m_text(std::move(text)) {}
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(const char* text);
    CString& operator=(char ch);

    // Size and access
    int GetLength() const { return static_cast<int>(m_text.size()); }
    BOOL IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    char GetAt(int index) const;     // '\0' outside the text
    void SetAt(int index, char ch);  // ignored outside the text
    char operator[](int index) const { return GetAt(index); }
    operator const char*() const { return m_text.c_str(); }
    const char* GetString() const { return m_text.c_str(); }
    const std::string& str() const { return m_text; }

    // Concatenation
    CString& operator+=(const CString& text)
    {
        m_text += text.m_text;
        return *this;
    }
    CString& operator+=(const char* text);
    CString& operator+=(char ch)
    {
        m_text += ch;
        return *this;
    }
    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, const char* b);
    friend CString operator+(const char* a, const CString& b);
    friend CString operator+(const CString& a, char b);
    friend CString operator+(char a, const CString& b);

    // Comparison: Compare is byte-wise (as strcmp), CompareNoCase folds
    // ASCII letters. Both answer <0, 0 or >0.
    int Compare(const char* text) const;
    int CompareNoCase(const char* text) const;

    // Sub-strings; out-of-range arguments are clamped.
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;
    CString SpanIncluding(const char* charSet) const;
    CString SpanExcluding(const char* charSet) const;

    // Searching: index of the first match at or after start, or -1.
    int Find(char ch, int start = 0) const;
    int Find(const char* sub, int start = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(const char* charSet) const;

    // Editing; the counts returned are of replaced/removed items, the
    // Insert/Delete results are the new length.
    int Replace(char oldCh, char newCh);
    int Replace(const char* oldText, const char* newText);
    int Remove(char ch);
    int Insert(int index, char ch);
    int Insert(int index, const char* text);
    int Delete(int index, int count = 1);
    void MakeUpper();
    void MakeLower();
    void MakeReverse();
    CString& TrimLeft();  // white space
    CString& TrimLeft(char ch);
    CString& TrimLeft(const char* charSet);
    CString& TrimRight();
    CString& TrimRight(char ch);
    CString& TrimRight(const char* charSet);
    CString& Trim()
    {
        TrimRight();
        return TrimLeft();
    }

    // printf-style formatting. Pass a CString argument as (const char*)s.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void AppendFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Direct access to the bytes: GetBuffer makes room for at least
    // minLength characters (plus the terminator); ReleaseBuffer sets the
    // length to newLength, or to the first '\0' when newLength is -1.
    char* GetBuffer(int minLength = 0);
    void ReleaseBuffer(int newLength = -1);

private:
    std::string m_text;
};

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, const char* b);
bool operator==(const char* a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, const char* b);
bool operator!=(const char* a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator<(const CString& a, const char* b);
bool operator<(const char* a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator>(const CString& a, const char* b);
bool operator>(const char* a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator<=(const CString& a, const char* b);
bool operator<=(const char* a, const CString& b);
bool operator>=(const CString& a, const CString& b);
bool operator>=(const CString& a, const char* b);
bool operator>=(const char* a, const CString& b);

template <>
struct std::hash<CString>
{
    std::size_t operator()(const CString& s) const noexcept { return std::hash<std::string>()(s.str()); }
};
