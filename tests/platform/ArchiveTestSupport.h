#pragma once
// Small serialisable classes and a byte builder shared by the archive and
// collection tests. Fixtures are assembled by hand from the file layout,
// never produced by the archive under test.

#include "platform/core/Core.h"

#include <string>
#include <vector>

class CTestAlpha : public CObject
{
    DECLARE_SERIAL(CTestAlpha)
public:
    CTestAlpha() = default;
    CTestAlpha(WORD value, const char* name) : m_value(value), m_name(name) {}
    void Serialize(CArchive& ar) override;

    WORD m_value = 0;
    CString m_name;
};

class CTestBeta : public CObject
{
    DECLARE_SERIAL(CTestBeta)
public:
    CTestBeta() = default;
    explicit CTestBeta(float x) : m_x(x) {}
    void Serialize(CArchive& ar) override;

    float m_x = 0.0f;
};

// A class derived from CTestAlpha, to check kind tests along the base chain.
class CTestAlphaChild : public CTestAlpha
{
    DECLARE_SERIAL(CTestAlphaChild)
};

// A serialisable class with no fields (two bytes of tag per later object).
class CTestEmpty : public CObject
{
    DECLARE_SERIAL(CTestEmpty)
};

// Counts live instances, for the ownership tests.
class CTestCounted : public CObject
{
    DECLARE_SERIAL(CTestCounted)
public:
    CTestCounted()
    {
        ++s_live;
        ++s_made;
    }
    ~CTestCounted() override { --s_live; }
    void Serialize(CArchive& ar) override;
    WORD m_value = 0;
    static int s_live;
    static int s_made;  // every construction, to show one never happened
};

class CTestAlphaArray : public TypedObArray<CTestAlpha>
{
    DECLARE_SERIAL(CTestAlphaArray)
};

// Little-endian byte builder.
struct Bytes
{
    std::vector<BYTE> v;

    Bytes& b(int x)
    {
        v.push_back(static_cast<BYTE>(x));
        return *this;
    }
    Bytes& w(int x) { return b(x & 0xFF).b((x >> 8) & 0xFF); }
    Bytes& dw(DWORD x) { return w(static_cast<int>(x & 0xFFFF)).w(static_cast<int>(x >> 16)); }
    Bytes& raw(const std::string& s)
    {
        v.insert(v.end(), s.begin(), s.end());
        return *this;
    }
    Bytes& add(const Bytes& other)
    {
        v.insert(v.end(), other.v.begin(), other.v.end());
        return *this;
    }
    // The new-class tag of a schema-1 class.
    Bytes& newClass(const std::string& name) { return w(0xFFFF).w(1).w(static_cast<int>(name.size())).raw(name); }
};

// Stores through an archive over memory and answers the bytes.
template <class Fn>
std::vector<BYTE> StoreBytes(Fn&& fn)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        fn(ar);
        ar.Close();
    }
    return file.GetData();
}
