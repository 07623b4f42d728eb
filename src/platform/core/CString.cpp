#include "platform/core/CString.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace
{
char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
const char* OrEmpty(const char* text) { return text ? text : ""; }

int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

int CompareBytes(const std::string& a, const char* b) { return Sign(std::strcmp(a.c_str(), OrEmpty(b))); }

void AppendFormatV(std::string& out, const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    int needed = std::vsnprintf(nullptr, 0, OrEmpty(format), copy);
    va_end(copy);
    if (needed <= 0)
        return;
    size_t old = out.size();
    out.resize(old + static_cast<size_t>(needed) + 1);
    std::vsnprintf(&out[old], static_cast<size_t>(needed) + 1, OrEmpty(format), args);
    out.resize(old + static_cast<size_t>(needed));
}
}  // namespace

CString::CString(const char* text) : m_text(OrEmpty(text)) {}

CString::CString(const char* text, int length)
{
    if (text && length > 0)
        m_text.assign(text, static_cast<size_t>(length));
}

CString::CString(char ch, int repeat)
{
    if (repeat > 0)
        m_text.assign(static_cast<size_t>(repeat), ch);
}

CString& CString::operator=(const char* text)
{
    m_text = OrEmpty(text);
    return *this;
}

CString& CString::operator=(char ch)
{
    m_text.assign(1, ch);
    return *this;
}

char CString::GetAt(int index) const
{
    return (index >= 0 && index < GetLength()) ? m_text[static_cast<size_t>(index)] : '\0';
}

void CString::SetAt(int index, char ch)
{
    if (index >= 0 && index < GetLength())
        m_text[static_cast<size_t>(index)] = ch;
}

CString& CString::operator+=(const char* text)
{
    m_text += OrEmpty(text);
    return *this;
}

CString operator+(const CString& a, const CString& b) { return CString(a.m_text + b.m_text); }
CString operator+(const CString& a, const char* b) { return CString(a.m_text + OrEmpty(b)); }
CString operator+(const char* a, const CString& b) { return CString(OrEmpty(a) + b.m_text); }
CString operator+(const CString& a, char b) { return CString(a.m_text + b); }
CString operator+(char a, const CString& b) { return CString(std::string(1, a) + b.m_text); }

int CString::Compare(const char* text) const { return CompareBytes(m_text, text); }

int CString::CompareNoCase(const char* text) const
{
    const char* other = OrEmpty(text);
    size_t i = 0;
    for (;; ++i)
    {
        unsigned char a = static_cast<unsigned char>(AsciiLower(i < m_text.size() ? m_text[i] : '\0'));
        unsigned char b = static_cast<unsigned char>(AsciiLower(other[i]));
        if (a != b)
            return a < b ? -1 : 1;
        if (a == 0)
            return 0;
    }
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const
{
    if (first < 0)
        first = 0;
    if (count < 0)
        count = 0;
    if (first >= GetLength())
        return CString();
    if (count > GetLength() - first)
        count = GetLength() - first;
    return CString(m_text.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Left(int count) const { return Mid(0, count); }

CString CString::Right(int count) const
{
    if (count < 0)
        count = 0;
    if (count > GetLength())
        count = GetLength();
    return Mid(GetLength() - count, count);
}

CString CString::SpanIncluding(const char* charSet) const
{
    size_t n = m_text.find_first_not_of(OrEmpty(charSet));
    return CString(m_text.substr(0, n));
}

CString CString::SpanExcluding(const char* charSet) const
{
    size_t n = m_text.find_first_of(OrEmpty(charSet));
    return CString(m_text.substr(0, n));
}

int CString::Find(char ch, int start) const
{
    if (start < 0)
        start = 0;
    if (start >= GetLength())
        return -1;
    size_t pos = m_text.find(ch, static_cast<size_t>(start));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(const char* sub, int start) const
{
    if (start < 0)
        start = 0;
    if (start > GetLength())
        return -1;
    size_t pos = m_text.find(OrEmpty(sub), static_cast<size_t>(start));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(char ch) const
{
    size_t pos = m_text.rfind(ch);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::FindOneOf(const char* charSet) const
{
    size_t pos = m_text.find_first_of(OrEmpty(charSet));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Replace(char oldCh, char newCh)
{
    int count = 0;
    for (char& c : m_text)
    {
        if (c == oldCh)
        {
            c = newCh;
            ++count;
        }
    }
    return count;
}

int CString::Replace(const char* oldText, const char* newText)
{
    std::string from = OrEmpty(oldText);
    std::string to = OrEmpty(newText);
    if (from.empty())
        return 0;
    int count = 0;
    std::string result;
    size_t pos = 0;
    for (;;)
    {
        size_t hit = m_text.find(from, pos);
        if (hit == std::string::npos)
            break;
        result.append(m_text, pos, hit - pos);
        result += to;
        pos = hit + from.size();
        ++count;
    }
    if (count > 0)
    {
        result.append(m_text, pos, std::string::npos);
        m_text = std::move(result);
    }
    return count;
}

int CString::Remove(char ch)
{
    size_t before = m_text.size();
    m_text.erase(std::remove(m_text.begin(), m_text.end(), ch), m_text.end());
    return static_cast<int>(before - m_text.size());
}

int CString::Insert(int index, char ch)
{
    index = std::clamp(index, 0, GetLength());
    m_text.insert(static_cast<size_t>(index), 1, ch);
    return GetLength();
}

int CString::Insert(int index, const char* text)
{
    index = std::clamp(index, 0, GetLength());
    m_text.insert(static_cast<size_t>(index), OrEmpty(text));
    return GetLength();
}

int CString::Delete(int index, int count)
{
    if (index < 0)
        index = 0;
    if (count > 0 && index < GetLength())
        m_text.erase(static_cast<size_t>(index), static_cast<size_t>(std::min(count, GetLength() - index)));
    return GetLength();
}

void CString::MakeUpper()
{
    for (char& c : m_text)
        c = AsciiUpper(c);
}

void CString::MakeLower()
{
    for (char& c : m_text)
        c = AsciiLower(c);
}

void CString::MakeReverse() { std::reverse(m_text.begin(), m_text.end()); }

CString& CString::TrimLeft()
{
    size_t n = 0;
    while (n < m_text.size() && IsSpace(m_text[n]))
        ++n;
    m_text.erase(0, n);
    return *this;
}

CString& CString::TrimLeft(char ch)
{
    size_t n = m_text.find_first_not_of(ch);
    m_text.erase(0, n == std::string::npos ? m_text.size() : n);
    return *this;
}

CString& CString::TrimLeft(const char* charSet)
{
    size_t n = m_text.find_first_not_of(OrEmpty(charSet));
    m_text.erase(0, n == std::string::npos ? m_text.size() : n);
    return *this;
}

CString& CString::TrimRight()
{
    while (!m_text.empty() && IsSpace(m_text.back()))
        m_text.pop_back();
    return *this;
}

CString& CString::TrimRight(char ch)
{
    while (!m_text.empty() && m_text.back() == ch)
        m_text.pop_back();
    return *this;
}

CString& CString::TrimRight(const char* charSet)
{
    size_t n = m_text.find_last_not_of(OrEmpty(charSet));
    m_text.erase(n == std::string::npos ? 0 : n + 1);
    return *this;
}

void CString::Format(const char* format, ...)
{
    std::string out;
    va_list args;
    va_start(args, format);
    AppendFormatV(out, format, args);
    va_end(args);
    m_text = std::move(out);
}

void CString::AppendFormat(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    AppendFormatV(m_text, format, args);
    va_end(args);
}

char* CString::GetBuffer(int minLength)
{
    if (minLength > GetLength())
        m_text.resize(static_cast<size_t>(minLength), '\0');
    return m_text.data();
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0)
        newLength = static_cast<int>(std::strlen(m_text.c_str()));
    if (newLength < GetLength())
        m_text.resize(static_cast<size_t>(newLength));
}

bool operator==(const CString& a, const CString& b) { return a.str() == b.str(); }
bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, const char* b) { return !(a == b); }
bool operator!=(const char* a, const CString& b) { return !(a == b); }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
bool operator<(const CString& a, const char* b) { return a.Compare(b) < 0; }
bool operator<(const char* a, const CString& b) { return b.Compare(a) > 0; }
bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
bool operator>(const CString& a, const char* b) { return a.Compare(b) > 0; }
bool operator>(const char* a, const CString& b) { return b.Compare(a) < 0; }
bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
bool operator<=(const CString& a, const char* b) { return a.Compare(b) <= 0; }
bool operator<=(const char* a, const CString& b) { return b.Compare(a) >= 0; }
bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
bool operator>=(const CString& a, const char* b) { return a.Compare(b) >= 0; }
bool operator>=(const char* a, const CString& b) { return b.Compare(a) <= 0; }
