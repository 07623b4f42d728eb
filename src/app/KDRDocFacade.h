#pragma once
// What the parts of the document facade (KDRDocSteps.cpp, KDRDocUnits.cpp,
// KDRDocOrders.cpp, KDRDocObstacles.cpp, KDRDocMap.cpp) share: the checks
// that the components an operation needs are present, and the
// after-effects of a successful edit. Only those files include it.
//
// Every facade operation first checks the components it needs (present:
// the flag set and the pointer not null) and otherwise answers its nothing
// value without touching anything. The after-effects, applied only when
// the forwarded call succeeded, are the two of the facade: the modified
// flag, and for operations that move units the dug positions' occupants.

#include "app/GameClock.h"
#include "app/KDRApp.h"
#include "app/KDRDoc.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/TaskOrg.h"
#include "net/MultiplayerSession.h"
#include "units/KDRUnits.h"

#include <functional>
#include <memory>
#include <type_traits>

namespace doc_facade
{
// A rectangle of picture pixels as map metres; FALSE without elevation data.
inline BOOL RectToMap(CKDRGameMap* pMap, const CRect& rc, float& fLeft, float& fTop, float& fRight, float& fBottom)
{
    CElevationMap* pElevation = pMap != nullptr ? pMap->GetElevationMap() : nullptr;
    if (pElevation == nullptr)
        return FALSE;
    pElevation->PixelToMap(rc.left, rc.top, &fLeft, &fTop);
    pElevation->PixelToMap(rc.right, rc.bottom, &fRight, &fBottom);
    return TRUE;
}

// The game seconds since the mission's start; 0 without the application's clock.
inline CTimeSpan GameTimeElapsed()
{
    const CKDRApp* pApp = GetKDRApp();
    const CGameClock* pClock = pApp != nullptr ? pApp->GetGameClock() : nullptr;
    return pClock != nullptr ? pClock->m_tsElapsed : CTimeSpan(0);
}

// The units a hierarchy element commands, as a new list.
inline std::unique_ptr<CTaskOrgArray> UnitsOfElement(const CHierarchyPlatoon* pElement)
{
    auto pList = std::make_unique<CTaskOrgArray>();
    if (pElement != nullptr)
        pElement->FillUnitList(pList.get(), FALSE);
    return pList;
}

inline BOOL IsMultiplayerWithSession(const CKDRApp* pApp)
{
    return pApp != nullptr && pApp->m_bMultiplayer && pApp->m_pSession != nullptr;
}

// The units, game map and database when all three are present.
struct UnitsMapDatabase
{
    CKDRUnits* pUnits = nullptr;
    CKDRGameMap* pMap = nullptr;
    CKDRDatabase* pDatabase = nullptr;
    explicit operator bool() const { return pUnits != nullptr && pMap != nullptr && pDatabase != nullptr; }
};

inline UnitsMapDatabase Ready(const CKDRDoc& doc)
{
    return UnitsMapDatabase{doc.GetUnits(), doc.GetGameMap(), doc.GetDatabase()};
}

// A units step that draws or applies settings with the game map and database.
using UnitsStep = void (CKDRUnits::*)(CKDRGameMap*, CKDRDatabase*);

// Runs the step only when units, game map and database are all present.
inline BOOL RunWithAll(const CKDRDoc& doc, UnitsStep pStep)
{
    auto c = Ready(doc);
    if (!c)
        return FALSE;
    (c.pUnits->*pStep)(c.pMap, c.pDatabase);
    return TRUE;
}

// Runs the step whenever the units are present: the step copes without a
// game map or database itself.
inline BOOL RunWithUnits(const CKDRDoc& doc, UnitsStep pStep)
{
    CKDRUnits* pUnits = doc.GetUnits();
    if (pUnits == nullptr)
        return FALSE;
    (pUnits->*pStep)(doc.GetGameMap(), doc.GetDatabase());
    return TRUE;
}

// The units' answer to a question, or the nothing value without units.
template <class R, class Fn, class... Args>
R AskUnits(const CKDRDoc& doc, R none, Fn pAsk, Args... args)
{
    CKDRUnits* pUnits = doc.GetUnits();
    return pUnits != nullptr ? R(std::invoke(pAsk, pUnits, args...)) : none;
}

// The units' answer about a picture point, which they take as a view
// point; the nothing value without units or game map.
template <class R>
R AskAtPoint(const CKDRDoc& doc, int nX, int nY, std::type_identity_t<R> none,
             R (CKDRUnits::*pAsk)(int, int, CKDRGameMap*, CKDRDatabase*))
{
    CKDRUnits* pUnits = doc.GetUnits();
    CKDRGameMap* pMap = doc.GetGameMap();
    if (pUnits == nullptr || pMap == nullptr)
        return none;
    int vx = 0, vy = 0;
    pMap->PictureToView(nX, nY, &vx, &vy);
    return (pUnits->*pAsk)(vx, vy, pMap, doc.GetDatabase());
}

// The after-effects of a successful edit: the modified flag, and for an
// edit that moved units the dug positions' occupants too.
inline int Modified(CKDRDoc& doc, int nResult)
{
    if (nResult)
        doc.SetModifiedFlag(TRUE);
    return nResult;
}

inline int MovedUnits(CKDRDoc& doc, int nResult)
{
    if (nResult)
    {
        doc.ReassignOccupants();
        doc.SetModifiedFlag(TRUE);
    }
    return nResult;
}
}  // namespace doc_facade
