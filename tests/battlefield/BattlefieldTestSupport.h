#pragma once
// Helpers shared by the battlefield tests: archive round trips through
// memory, a little-endian byte builder for hand-made file fixtures, small
// terrain builders and an allocation counter.

#include "battlefield/ElevationMap.h"
#include "battlefield/Terrain.h"
#include "battlefield/TerrainArray.h"
#include "battlefield/TerrainType.h"
#include "platform/core/Core.h"

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

namespace bftest
{
inline std::vector<BYTE> StoreToBytes(CObject& object)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        object.Serialize(ar);
        ar.Close();
    }
    return file.GetData();
}

inline void LoadFromBytes(CObject& object, const std::vector<BYTE>& bytes)
{
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    object.Serialize(ar);
    ar.Close();
}

// Little-endian bytes laid out by hand, with named marks to patch later.
class Bytes
{
public:
    Bytes& w16(int v)
    {
        m_data.push_back(static_cast<BYTE>(v & 0xFF));
        m_data.push_back(static_cast<BYTE>((v >> 8) & 0xFF));
        return *this;
    }
    Bytes& f32(float v)
    {
        BYTE raw[4];
        std::memcpy(raw, &v, 4);
        m_data.insert(m_data.end(), raw, raw + 4);
        return *this;
    }
    Bytes& str(const std::string& s)  // short archive string
    {
        m_data.push_back(static_cast<BYTE>(s.size()));
        m_data.insert(m_data.end(), s.begin(), s.end());
        return *this;
    }
    Bytes& newClass(const std::string& name)  // first object of a class
    {
        w16(0xFFFF).w16(1).w16(static_cast<int>(name.size()));
        m_data.insert(m_data.end(), name.begin(), name.end());
        return *this;
    }
    size_t mark() const { return m_data.size(); }
    void patch16(size_t at, int v)
    {
        m_data[at] = static_cast<BYTE>(v & 0xFF);
        m_data[at + 1] = static_cast<BYTE>((v >> 8) & 0xFF);
    }
    const std::vector<BYTE>& data() const { return m_data; }

private:
    std::vector<BYTE> m_data;
};

inline TerrainColourSet Colours(int r, int g, int b, int fill = kTerrainFillSolid, BOOL hide = FALSE)
{
    return TerrainColourSet{r, g, b, fill, hide};
}

// A type with only what the queries look at.
inline CTerrainType* MakeType(const char* name, float speed, int height = 0, float obscuration = 1.0f, int aux = kUnset)
{
    return new CTerrainType(name, obscuration, aux, height, speed, Colours(0, 128, 0), Colours(0, 64, 0));
}

inline std::vector<CPoint> Box(int left, int bottom, int right, int top)
{
    return {CPoint(left, bottom), CPoint(right, bottom), CPoint(right, top), CPoint(left, top)};
}

// A flat map of the given size at one elevation.
inline void MakeFlat(CElevationMap& map, int width, int height, short ground)
{
    map.SetGeometry(width, height, 0, 0, 1);
    for (int c = 0; c < map.GetColumns(); ++c)
        for (int r = 0; r < map.GetRows(); ++r)
            map.SetElevation(c, r, ground);
    map.UpdateElevationRange();
}

// Counts heap allocations made on the calling thread between Start and
// Stop, through the sanitizer runtime's allocation hooks (so only in the
// sanitizer build; Available() tells).
class AllocationCounter
{
public:
    static bool Available();
    void Start();
    void Stop();
    size_t Count() const { return m_count; }
    size_t Bytes() const { return m_bytes; }

private:
    size_t m_count = 0;
    size_t m_bytes = 0;
};
}  // namespace bftest
