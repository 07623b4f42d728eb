// The path builders over a help map and a path read through their own
// Serialize (the path may be left out: member paths of the demo's kind are
// used then): BuildRoute with and without a frontage, BuildRouteTo between
// the path's ends, a detour round every region, and every route followed
// from every end. Every call must return, and every node a builder lays
// must lie at a finite place within reach of the map.

#include "FuzzSupport.h"
#include "battlefield/AITerrain.h"
#include "battlefield/AITerrainArray.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "hierarchy/TaskOrg.h"
#include "orders/NodeArray.h"

#include <cmath>
#include <cstdlib>
#include <memory>

namespace
{
constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr int kVehicle = 0x1;

CKDRGameMap& Map()
{
    static CKDRGameMap* pMap = []
    {
        auto* map = new CKDRGameMap;
        auto* ground = new CElevationMap;
        ground->SetGeometry(kWidth, kHeight, 0, 0, 1);
        map->SetElevationMap(ground);
        return map;
    }();
    return *pMap;
}

// New nodes lie at a finite place no further than one map diagonal off it;
// nodes the input gave may lie anywhere and are left as they were.
void CheckNodes(const CNodeArray& path)
{
    const float reach = std::hypot(static_cast<float>(kWidth), static_cast<float>(kHeight));
    for (int i = 0; i < path.GetSize(); ++i)
    {
        const CNode* pNode = path.GetAt(i);
        if (pNode == nullptr || !std::isfinite(pNode->m_fX) || !std::isfinite(pNode->m_fY))
            continue;
        if (std::fabs(pNode->m_fX) > 1e9f || std::fabs(pNode->m_fY) > 1e9f)
            continue;  // an input node at no real place
        if (pNode->m_fX < -reach || pNode->m_fY < -reach || pNode->m_fX > kWidth + reach ||
            pNode->m_fY > kHeight + reach)
            std::abort();
    }
}

void FillDefaultPath(CNodeArray& path)
{
    path.AddNode(400.0f, 700.0f);
    path.AddNode(1800.0f, 700.0f);
    path.AddNode(2200.0f, 2300.0f);
    path.AddNode(2950.0f, 1750.0f);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto helpMap = std::make_unique<CAITerrainArray>();
    CNodeArray input;
    bool loaded = false;
    bool pathRead = false;
    fuzz::ReadArchive(data, size,
                      [&](CArchive& ar)
                      {
                          helpMap->Serialize(ar);
                          loaded = true;
                          try
                          {
                              input.Serialize(ar);
                              pathRead = true;
                          }
                          catch (const CException&)
                          {
                          }
                      });
    if (!loaded)
        return 0;
    if (!pathRead || input.GetSize() > 64)
    {
        input.RemoveAll();
        FillDefaultPath(input);
    }
    CKDRGameMap& map = Map();
    map.SetHelpMap(helpMap.release());
    CTaskOrgArray element;
    element.m_nSide = 1;
    CStringArray names;
    names.Add("Wedge");
    names.Add("Column");

    for (float frontage : {0.0f, 40.0f})
    {
        CNodeArray path(input);
        float x = 0.0f;
        float y = 0.0f;
        path.BuildRoute(2, frontage, frontage * 0.5f, &x, &y, nullptr, nullptr, &element, nullptr, &map, &names,
                        CString(), kVehicle, kUnset, TRUE, kUnsetFloat, FALSE);
        CheckNodes(path);
    }
    if (input.GetSize() >= 2)
    {
        const CNode* pStart = input.GetAt(0);
        const CNode* pEnd = input.GetAt(input.GetSize() - 1);
        CNodeArray path;
        path.BuildRouteTo(2, 20.0f, 10.0f, pStart->m_fX, pStart->m_fY, pEnd->m_fX, pEnd->m_fY, pEnd->m_fX + 50.0f,
                          pEnd->m_fY, &map, nullptr, nullptr, &element, &names, CString(), kVehicle);
        CheckNodes(path);
    }

    const CAITerrainArray* pHelpMap = map.GetHelpMap();
    for (int i = 0; pHelpMap != nullptr && i < pHelpMap->GetSize(); ++i)
    {
        CAITerrain* pItem = pHelpMap->GetAt(i);
        if (auto* pRegion = dynamic_cast<CAITerrainRegion*>(pItem))
        {
            CNodeArray detour;
            detour.BuildPolygonDetour(pRegion, nullptr, 20.0f, 10.0f, 100.0f, 100.0f, 3900.0f, 2900.0f, 0, nullptr,
                                      nullptr, nullptr, nullptr, &map, "Wedge", CString(), kVehicle, kUnset);
            CheckNodes(detour);
        }
        else if (auto* pRoute = dynamic_cast<CAITerrainRoute*>(pItem))
        {
            for (BOOL backward : {FALSE, TRUE})
            {
                for (int start : {-1, 0, pRoute->GetPointCount() - 1, pRoute->GetPointCount()})
                {
                    CNodeArray path(input);
                    int nIndex = 0;
                    int nCount = 0;
                    path.InsertAIRoute(&names, nullptr, 10, backward, start, pRoute, &map, kVehicle, nullptr, nullptr,
                                       0, path.GetSize(), &nIndex, &nCount);
                    if (nCount != path.GetSize() || nIndex < 0 || nIndex >= nCount)
                        std::abort();
                }
            }
        }
    }
    map.SetHelpMap(nullptr);
    return 0;
}
