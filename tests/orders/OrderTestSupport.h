#pragma once
// Shared by the order tests: a little-endian byte builder for hand-laid
// records, storing and loading objects through archives over memory, and
// a units component that records the order bits applied to elements.
#include "hierarchy/HierarchyArray.h"
#include "platform/core/Archive.h"
#include "platform/core/File.h"
#include "units/KDRUnits.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace ordertest
{
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
    Bytes& f(float x)
    {
        DWORD d = 0;
        static_assert(sizeof d == sizeof x);
        std::memcpy(&d, &x, sizeof d);
        return dw(d);
    }
    Bytes& raw(const std::string& s)
    {
        v.insert(v.end(), s.begin(), s.end());
        return *this;
    }
    // An archive string shorter than 255 bytes.
    Bytes& str(const std::string& s) { return b(static_cast<int>(s.size())).raw(s); }
    // The new-class tag of a schema-1 class.
    Bytes& newClass(const std::string& name) { return w(0xFFFF).w(1).w(static_cast<int>(name.size())).raw(name); }
};

template <class T>
std::vector<BYTE> StoreBytes(T& object)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        object.Serialize(ar);
        ar.Close();
    }
    return file.GetData();
}

template <class T>
void LoadBytes(T& object, const std::vector<BYTE>& bytes)
{
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    object.Serialize(ar);
    ar.Close();
}

// Writes bytes to a file; FALSE when it cannot.
inline bool WriteFileBytes(const std::string& path, const std::vector<BYTE>& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return false;
    const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// Records each order bit applied to an element, with its on flag.
class CRecordingUnits : public CKDRUnits
{
public:
    int ApplyOrderBitToElement(DWORD dwBit, CTaskOrgArray*, CHierarchyPlatoon*, CKDRDatabase*, CKDRGameMap*,
                               CKDRObstacles*, CKDRHoles*, int, int nOn, float, float, float) override
    {
        m_applied.emplace_back(dwBit, nOn);
        return 1;
    }

    std::vector<std::pair<DWORD, int>> m_applied;
};

// A platoon that reports a fixed number of live vehicles.
class CCountedPlatoon : public CHierarchyPlatoon
{
public:
    explicit CCountedPlatoon(int nVehicles) : m_nVehicles(nVehicles) {}
    int CountLiveVehicles(DWORD, CKDRUnits*, CKDRDatabase*, BOOL) const override { return m_nVehicles; }

    int m_nVehicles;
};
}  // namespace ordertest
