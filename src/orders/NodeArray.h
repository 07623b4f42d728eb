#pragma once
// A path: the ordered nodes (map points in metres) a unit or a hierarchy
// element moves along. Least form: the points only, with a deep copy, so
// that the map view can keep the copy of a path it shows.

#include "platform/core/Object.h"

#include <vector>

struct CPathNode
{
    float fX = 0.0f;
    float fY = 0.0f;
};

class CNodeArray : public CObject
{
public:
    CNodeArray() = default;
    CNodeArray(const CNodeArray& other) = default;
    CNodeArray& operator=(const CNodeArray& other) = default;

    int GetSize() const { return static_cast<int>(m_nodes.size()); }
    void Add(float fX, float fY) { m_nodes.push_back({fX, fY}); }
    const CPathNode& GetAt(int i) const { return m_nodes.at(static_cast<size_t>(i)); }
    void RemoveAll() { m_nodes.clear(); }

private:
    std::vector<CPathNode> m_nodes;
};
