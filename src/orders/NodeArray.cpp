#include "orders/NodeArray.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/MapPicture.h"
#include "platform/core/Archive.h"
#include "platform/ui/Display.h"
#include "units/Unit.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CNode, CObject, 1)
IMPLEMENT_SERIAL(CNodeArray, CObArray, 1)

namespace
{
// Distance of the extra node that turns a halted mover, in metres.
constexpr float ORIENT_STEP = 10.0f;
// The best distance a nearest-node search starts from.
constexpr double NEAREST_START = 999999.0;
// The unit toggle bit of Do Not Emplace.
constexpr DWORD DO_NOT_EMPLACE_BIT = 16384;

void Clamp(float& x, float& y, const CKDRGameMap* pMap)
{
    float w = 0.0f;
    float h = 0.0f;
    if (!CNodeArray::GetMapSize(pMap, w, h))
        return;
    x = std::clamp(x, 0.0f, w);
    y = std::clamp(y, 0.0f, h);
}
}  // namespace

// ---------------------------------------------------------------------------
// CNode

CNode::CNode() : m_pOrders(new CNodeOrderArray) { LoadNodeIcon(); }

CNode::CNode(float x, float y, const CNodeOrderArray* pOrders)
    : m_fX(x), m_fY(y), m_pOrders(pOrders != nullptr ? new CNodeOrderArray(*pOrders) : new CNodeOrderArray)
{
    LoadNodeIcon();
}

CNode::CNode(const CNode& other) : CNode(other.m_fX, other.m_fY, other.m_pOrders) {}

CNode::~CNode()
{
    delete m_pOrders;
    delete m_pIcon;
}

void CNode::LoadNodeIcon()
{
    // The frame is chosen again at every draw; the flag is set even when
    // the catalogue lacks the icon.
    m_pIcon = LoadCatalogueSprite("Go Node Red");
    m_bIconLoaded = TRUE;
}

void CNode::Serialize(CArchive& ar)
{
    m_pOrders->Serialize(ar);
    if (ar.IsStoring())
        ar << m_fX << m_fY;
    else
        ar >> m_fX >> m_fY;
}

BOOL CNode::HasStop() const { return m_pOrders != nullptr && (m_pOrders->GetTypes() & NORD_STOP) != 0; }

void CNode::AddOrder(UINT nType) { m_pOrders->AddOrderOfType(nType); }

void CNode::RemoveOrdersOfType(UINT nType)
{
    if (nType == NORD_START_TIME)
    {
        if (auto* pStart = static_cast<CNOrdStartTime*>(m_pOrders->FindOfType(NORD_START_TIME)))
            m_tsStartCopy = pStart->m_tsStart;
    }
    m_pOrders->RemoveOfType(nType);
}

void CNode::ClearStopAndStartTime()
{
    m_pOrders->RemoveOfType(NORD_STOP);
    RemoveOrdersOfType(NORD_START_TIME);
}

BOOL CNode::SetStartTimeValue(CTimeSpan tsStart)
{
    m_pOrders->AddOrderOfType(NORD_STOP);
    m_pOrders->AddOrderOfType(NORD_START_TIME);
    if (auto* pStart = static_cast<CNOrdStartTime*>(m_pOrders->FindOfType(NORD_START_TIME)))
        pStart->m_tsStart = tsStart;
    return TRUE;
}

void CNode::SetStartTime(BOOL bWithStartTime, CTimeSpan tsStart)
{
    m_pOrders->AddOrderOfType(NORD_STOP);
    if (!bWithStartTime)
        return;
    if (tsStart.GetTotalSeconds() == START_TIME_HOLD_REQUEST)
        tsStart = CTimeSpan(START_TIME_HOLD);
    SetStartTimeValue(tsStart);
}

void CNode::SetFormationOrder(const CString& formationName, const CString& iconName)
{
    m_pOrders->RemoveOfType(NORD_FORMATION);
    auto* pOrder = new CNOrdFormationOrder;
    pOrder->m_strFormation = formationName;
    pOrder->m_strIcon = iconName;
    pOrder->LoadIcons();
    m_pOrders->Add(pOrder);
}

void CNode::MergeOrders(const CNode* pOther, const void* pContextA, const void* pContextB, const void* pContextC)
{
    if (pOther != nullptr && pContextA != nullptr && pContextB != nullptr && pContextC != nullptr)
        m_pOrders->AppendCopies(*pOther->m_pOrders);
}

// ---------------------------------------------------------------------------
// CNodeArray

CNodeArray::CNodeArray(const CNodeArray& other) : TypedObArray<CNode>() { CopyFrom(other); }

void CNodeArray::CopyFrom(const CNodeArray& source)
{
    RemoveAll();
    for (int i = 0; i < source.GetSize(); ++i)
    {
        if (const CNode* pNode = source.GetAt(i))
            Add(new CNode(*pNode));
    }
}

BOOL CNodeArray::GetMapSize(const CKDRGameMap* pMap, float& width, float& height)
{
    width = 0.0f;
    height = 0.0f;
    if (pMap == nullptr)
        return FALSE;
    if (const CElevationMap* pElevation = pMap->GetElevationMap())
    {
        width = static_cast<float>(pElevation->GetWidth());
        height = static_cast<float>(pElevation->GetHeight());
        return TRUE;
    }
    if (const CMapPicture* pPicture = pMap->GetMapPicture())
    {
        // 2 m per picture pixel.
        width = 2.0f * static_cast<float>(pPicture->GetMapWidth());
        height = 2.0f * static_cast<float>(pPicture->GetMapHeight());
        return TRUE;
    }
    return FALSE;
}

void CNodeArray::ShiftStartTimes(LONG nSeconds)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CNode* pNode = GetAt(i);
        if (pNode == nullptr)
            continue;
        if (auto* pStart = static_cast<CNOrdStartTime*>(pNode->m_pOrders->FindOfType(NORD_START_TIME)))
        {
            const long long nNew = static_cast<long long>(pStart->m_tsStart.GetTotalSeconds()) + nSeconds;
            pStart->m_tsStart = CTimeSpan(static_cast<LONG>(nNew < 0 ? 0 : std::min<long long>(nNew, 0x7FFFFFFF)));
        }
    }
}

void CNodeArray::ShiftStartTimesEarlier(LONG nSeconds) { ShiftStartTimes(-nSeconds); }

void CNodeArray::ShiftStartTimesLater(LONG nSeconds) { ShiftStartTimes(nSeconds); }

double CNodeArray::GetFirstLegHeading() const
{
    if (GetSize() < 2 || GetAt(0) == nullptr || GetAt(1) == nullptr)
        return static_cast<double>(kUnsetFloat);
    return std::atan2(static_cast<double>(GetAt(1)->m_fX) - GetAt(0)->m_fX,
                      static_cast<double>(GetAt(1)->m_fY) - GetAt(0)->m_fY);
}

int CNodeArray::HitTest(float x, float y, CKDRGameMap* pMap) const
{
    int nTolerance = 10;
    const CMapPicture* pPicture = pMap != nullptr ? pMap->GetMapPicture() : nullptr;
    if (pPicture != nullptr && pPicture->GetZoom() > 0.0f)
        nTolerance = static_cast<int>(10.0 / pPicture->GetZoom() + 0.5);

    int vx = kUnset;
    int vy = kUnset;
    if (pMap != nullptr)
    {
        int px = static_cast<int>(x);
        int py = static_cast<int>(y);
        if (CElevationMap* pElevation = pMap->GetElevationMap())
            pElevation->MapToPixel(x, y, &px, &py);
        pMap->PictureToView(px, py, &vx, &vy);
    }
    for (int i = GetSize() - 1; i >= 0; --i)
    {
        const CNode* pNode = GetAt(i);
        if (pNode == nullptr)
            continue;
        if (pMap != nullptr && pNode->GetIcon() != nullptr && pNode->GetIcon()->HitTest(vx, vy))
            return i;
        if (std::abs(static_cast<int>(pNode->m_fX - x)) < nTolerance &&
            std::abs(static_cast<int>(pNode->m_fY - y)) < nTolerance)
            return i;
    }
    return kUnset;
}

BOOL CNodeArray::RemoveNode(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetSize() || GetSize() <= 1)
        return FALSE;
    RemoveAt(nIndex);
    return TRUE;
}

BOOL CNodeArray::RemoveFirstNode(BOOL bWithStartTime)
{
    if (GetSize() == 0)
        return FALSE;
    RemoveAt(0);
    if (GetSize() == 1 && GetAt(0) != nullptr)
    {
        GetAt(0)->AddOrder(NORD_STOP);
        if (bWithStartTime)
            GetAt(0)->SetStartTimeValue(CTimeSpan(START_TIME_NEVER));
    }
    return GetAt(0) != nullptr && GetAt(0)->HasStop();
}

void CNodeArray::ResetToPoint(float x, float y, BOOL bWithStartTime)
{
    RemoveAll();
    auto* pNode = new CNode(x, y);
    pNode->AddOrder(NORD_STOP);
    if (bWithStartTime)
        pNode->SetStartTimeValue(CTimeSpan(0));
    Add(pNode);
}

BOOL CNodeArray::CopyOffset(const CNodeArray& source, float x, float y, CKDRGameMap* pMap)
{
    if (source.GetSize() == 0 || source.GetAt(0) == nullptr || &source == this)
        return FALSE;
    const float dx = x - source.GetAt(0)->m_fX;
    const float dy = y - source.GetAt(0)->m_fY;
    CopyFrom(source);
    Offset(dx, dy, pMap);
    return TRUE;
}

BOOL CNodeArray::CopyWithStart(const CNodeArray& source, float x, float y, CKDRGameMap*)
{
    if (source.GetSize() == 0 || source.GetAt(0) == nullptr || &source == this)
        return FALSE;
    CopyFrom(source);
    GetAt(0)->m_fX = x;
    GetAt(0)->m_fY = y;
    return TRUE;
}

void CNodeArray::Offset(float dx, float dy, CKDRGameMap* pMap)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CNode* pNode = GetAt(i);
        if (pNode == nullptr)
            continue;
        pNode->m_fX += dx;
        pNode->m_fY += dy;
        Clamp(pNode->m_fX, pNode->m_fY, pMap);
    }
}

float CNodeArray::GetFirstLegLength() const
{
    if (GetSize() < 2 || GetAt(0) == nullptr || GetAt(1) == nullptr)
        return 0.0f;
    return CKDRGameMap::Distance(GetAt(0)->m_fX, GetAt(0)->m_fY, GetAt(1)->m_fX, GetAt(1)->m_fY);
}

void CNodeArray::TruncateAtNearest(float x, float y, float& outX, float& outY)
{
    if (GetSize() == 0)
        return;
    double dBest = NEAREST_START;
    int nBest = 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CNode* pNode = GetAt(i);
        if (pNode == nullptr)
            continue;
        const double d = std::hypot(static_cast<double>(pNode->m_fX) - x, static_cast<double>(pNode->m_fY) - y);
        if (d < dBest)
        {
            dBest = d;
            nBest = i;
        }
    }
    if (nBest + 1 < GetSize())
        RemoveAt(nBest + 1, GetSize() - nBest - 1);
    if (const CNode* pLast = GetAt(GetSize() - 1))
    {
        outX = pLast->m_fX;
        outY = pLast->m_fY;
    }
}

void CNodeArray::AppendFrom(const CNodeArray& source)
{
    const int nCount = source.GetSize();
    for (int i = 1; i < nCount; ++i)
    {
        if (const CNode* pNode = source.GetAt(i))
            Add(new CNode(*pNode));
    }
}

void CNodeArray::EnableStartTimes(BOOL bEnabled)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CNode* pNode = GetAt(i);
        if (pNode == nullptr)
            continue;
        CNodeOrderArray& orders = *pNode->m_pOrders;
        if (auto* pStart = static_cast<CNOrdStartTime*>(orders.FindOfType(NORD_START_TIME)))
            pNode->m_tsStartCopy = pStart->m_tsStart;
        for (int k = 0; k < orders.GetSize(); ++k)
        {
            if (orders.GetAt(k) != nullptr)
                orders.GetAt(k)->EnableStartTime(bEnabled);
        }
        if (pNode->HasStop())
        {
            if (!bEnabled)
                orders.RemoveOfType(NORD_START_TIME);
            else
                orders.AddOrderOfType(NORD_START_TIME);
        }
        if (auto* pStart = static_cast<CNOrdStartTime*>(orders.FindOfType(NORD_START_TIME)))
            pStart->m_tsStart = pNode->m_tsStartCopy;
    }
}

BOOL CNodeArray::OrientAtStop(double dHeading, CKDRGameMap* pMap, BOOL bWithStartTime)
{
    if (GetSize() == 0 || pMap == nullptr)
        return FALSE;
    int nStop = GetSize() - 1;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (GetAt(i) != nullptr && GetAt(i)->HasStop())
        {
            nStop = i;
            break;
        }
    }
    CNode* pNode = GetAt(nStop);
    if (pNode == nullptr)
        return FALSE;
    if (!pNode->HasStop())
        pNode->SetStartTime(bWithStartTime, CTimeSpan(START_TIME_HOLD_REQUEST));
    if (const CNode* pNext = GetAt(nStop + 1))
    {
        const double dNext =
            std::atan2(static_cast<double>(pNext->m_fX) - pNode->m_fX, static_cast<double>(pNext->m_fY) - pNode->m_fY);
        if (dNext == dHeading)
            return TRUE;
    }
    float x = pNode->m_fX + ORIENT_STEP * static_cast<float>(std::sin(dHeading));
    float y = pNode->m_fY + ORIENT_STEP * static_cast<float>(std::cos(dHeading));
    Clamp(x, y, pMap);
    InsertAt(nStop + 1, new CNode(x, y));
    return TRUE;
}

BOOL CNodeArray::ApplyNodeOrders(CTimeSpan tsNow, CObject* pContext)
{
    if (GetSize() == 0)
        return FALSE;
    const BOOL bHadStop = GetAt(0) != nullptr && GetAt(0)->HasStop();
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CNode* pNode = GetAt(i))
            pNode->m_pOrders->UpdateStartTimes(tsNow, pContext);
    }
    return bHadStop && GetAt(0) != nullptr && !GetAt(0)->HasStop();
}

int CNodeArray::BuildFormationPath(const CNodeArray* pLeaderPath, CUnit* pFollower, CKDRUnits* pUnits,
                                   CKDRDatabase* pDatabase, CKDRGameMap* pMap, BOOL bKeepPositions)
{
    if (pLeaderPath == nullptr || pFollower == nullptr || pMap == nullptr || pLeaderPath->GetSize() == 0 ||
        pLeaderPath->GetAt(0) == nullptr || pLeaderPath == this)
        return 0;
    const CNode* pLeader0 = pLeaderPath->GetAt(0);
    const float dx = pFollower->m_fX - pLeader0->m_fX;
    const float dy = pFollower->m_fY - pLeader0->m_fY;

    RemoveAll();
    Add(new CNode(pFollower->m_fX, pFollower->m_fY, pLeader0->m_pOrders));
    pFollower->InsertFormationNode(pLeader0, pDatabase);
    BOOL bWaiting = FALSE;
    if (!GetAt(0)->HasStop())
    {
        pFollower->SetOrderState(DO_NOT_EMPLACE_BIT, pDatabase, TRUE, FALSE);
        bWaiting = TRUE;
    }
    else
    {
        pFollower->SetOrderState(DO_NOT_EMPLACE_BIT, pDatabase, FALSE, TRUE);
    }

    // The toggle order that switches Do Not Emplace off where the follower
    // halts at last.
    auto makeOff = []
    {
        auto* pToggle = new CNOrdToggleOrder;
        pToggle->SetToggle(DO_NOT_EMPLACE_BIT, FALSE);
        return pToggle;
    };
    for (int i = 1; i < pLeaderPath->GetSize(); ++i)
    {
        const CNode* pSource = pLeaderPath->GetAt(i);
        if (pSource == nullptr)
            continue;
        float x = pSource->m_fX;
        float y = pSource->m_fY;
        if (!bKeepPositions)
        {
            x += dx;
            y += dy;
        }
        Clamp(x, y, pMap);
        auto* pNode = new CNode(x, y, pSource->m_pOrders);
        pNode->MergeOrders(pSource, pUnits, pDatabase, pMap);
        Add(pNode);
        if (bWaiting && pNode->HasStop())
        {
            pNode->m_pOrders->Add(makeOff());
            bWaiting = FALSE;
        }
    }
    if (bWaiting)
    {
        if (pLeaderPath->GetSize() > 1)
        {
            if (CNode* pNode = GetAt(pLeaderPath->GetSize() - 1))
                pNode->m_pOrders->Add(makeOff());
        }
        else
        {
            pFollower->SetOrderState(DO_NOT_EMPLACE_BIT, pDatabase, FALSE, TRUE);
        }
    }
    return 1;
}
