#include "orders/NodeOrder.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/MapPicture.h"
#include "database/PieceArray.h"
#include "orders/RecordIO.h"
#include "platform/ui/Display.h"
#include "shell/DrawService.h"

IMPLEMENT_SERIAL(CNodeOrder, CObject, 1)
IMPLEMENT_SERIAL(CNOrdStop, CNodeOrder, 1)
IMPLEMENT_SERIAL(CNOrdStartTime, CNodeOrder, 1)
IMPLEMENT_SERIAL(CNOrdToggleOrder, CNOrdStartTime, 1)
IMPLEMENT_SERIAL(CNOrdFormationOrder, CNOrdStartTime, 1)
IMPLEMENT_SERIAL(CNodeOrderArray, CObArray, 1)

const char* const SUPPORT_BY_FIRE_NAME = "Support By Fire";

namespace
{
const char* const START_TIME_ICON = "Start Time Icon";
const char* const TURN_OFF_ICON = "Node Order Turn Off Red";
const char* const SUPPORT_BY_FIRE_ICON = "Node Position Support By Fire Red";

}  // namespace

CSprite* LoadCatalogueSprite(const CString& name)
{
    const CDrawService* pDraw = GetDrawService();
    CPieceArray* pCatalogue = pDraw != nullptr ? pDraw->GetSymbolCatalogue() : nullptr;
    if (pCatalogue == nullptr || name.IsEmpty())
        return nullptr;
    int nPosition = 0;
    const int nList = pCatalogue->FindInLists(name, &nPosition);
    if (nList == kUnset)
        return nullptr;
    CPiece* pPiece = pCatalogue->GetPiece(nList);
    CFrameSurface* pSheet = pPiece != nullptr ? pPiece->GetSurface() : nullptr;
    if (pSheet == nullptr)
        return nullptr;
    auto* pSprite = new CSprite(pSheet);
    pSprite->SetFrame(nPosition);
    pSheet->SetColorKey(DDColorMatch(pSheet, SPRITE_COLOR_KEY));
    return pSprite;
}

void DrawSpriteAtMapPoint(CSprite* pSprite, float x, float y, CKDRGameMap* pMap)
{
    if (pSprite == nullptr || pMap == nullptr)
        return;
    CDisplay* pDisplay = pMap->GetDisplay();
    if (pDisplay == nullptr || pDisplay->GetBackSurface() == nullptr)
        return;
    int px = static_cast<int>(x);
    int py = static_cast<int>(y);
    if (CElevationMap* pElevation = pMap->GetElevationMap())
        pElevation->MapToPixel(x, y, &px, &py);
    pSprite->SetMapPosition(px, py, pMap->GetMapPicture());
    pSprite->Draw(pDisplay->GetBackSurface());
}

// ---------------------------------------------------------------------------
// CNodeOrder and its kinds

void CNodeOrder::DrawIcon(float, float, CKDRGameMap*, BOOL) {}
void CNodeOrder::EnableStartTime(BOOL) {}
int CNodeOrder::TestStart(CTimeSpan, CObject*) { return 0; }

CNOrdStartTime::CNOrdStartTime() { LoadIcon(START_TIME_ICON); }

CNOrdStartTime::CNOrdStartTime(CTimeSpan tsStart) : m_tsStart(tsStart) { LoadIcon(START_TIME_ICON); }

CNOrdStartTime::~CNOrdStartTime() { delete m_pIcon; }

void CNOrdStartTime::LoadIcon(const CString& name)
{
    delete m_pIcon;
    m_pIcon = LoadCatalogueSprite(name);
    m_bIconLoaded = m_pIcon != nullptr;
}

void CNOrdStartTime::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_tsStart;
    else
        ar >> m_tsStart;
}

void CNOrdStartTime::DrawIcon(float x, float y, CKDRGameMap* pMap, BOOL bShowStartTime)
{
    if (bShowStartTime)
        DrawSpriteAtMapPoint(m_pIcon, x, y, pMap);
}

int CNOrdStartTime::TestStart(CTimeSpan tsNow, CObject*) { return tsNow >= m_tsStart ? NORD_START_REACHED : 0; }

CNOrdToggleOrder::~CNOrdToggleOrder() { delete m_pTurnOffIcon; }

void CNOrdToggleOrder::Serialize(CArchive& ar)
{
    CNOrdStartTime::Serialize(ar);
    if (ar.IsStoring())
    {
        ar << static_cast<WORD>(m_dwToggle) << static_cast<WORD>(m_bOn ? 1 : 0) << static_cast<WORD>(m_bOff ? 1 : 0);
    }
    else
    {
        short nCode = 0;
        ar >> nCode;
        m_dwToggle = static_cast<DWORD>(static_cast<LONG>(nCode));
        record::ReadFlag(ar, m_bOn);
        record::ReadFlag(ar, m_bOff);
    }
}

void CNOrdToggleOrder::DrawIcon(float x, float y, CKDRGameMap* pMap, BOOL)
{
    DrawSpriteAtMapPoint(m_pIcon, x, y, pMap);
    if (!m_bOn && m_bOff)
        DrawSpriteAtMapPoint(m_pTurnOffIcon, x, y, pMap);
}

int CNOrdToggleOrder::TestStart(CTimeSpan, CObject*) { return 0; }

void CNOrdToggleOrder::LoadIcons()
{
    delete m_pIcon;
    m_pIcon = nullptr;
    m_bIconLoaded = FALSE;
    delete m_pTurnOffIcon;
    m_pTurnOffIcon = nullptr;
    m_bTurnOffLoaded = FALSE;
    const CString name = GetToggleIconName(m_dwToggle);
    if (name.IsEmpty())
        return;
    LoadIcon(name);
    if (m_pIcon != nullptr)
    {
        m_pTurnOffIcon = LoadCatalogueSprite(TURN_OFF_ICON);
        m_bTurnOffLoaded = m_pTurnOffIcon != nullptr;
    }
}

void CNOrdToggleOrder::SetToggle(DWORD dwCode, BOOL bOn)
{
    m_dwToggle = dwCode;
    m_bOn = bOn ? TRUE : FALSE;
    m_bOff = bOn ? FALSE : TRUE;
    LoadIcons();
}

void CNOrdFormationOrder::Serialize(CArchive& ar)
{
    CNOrdStartTime::Serialize(ar);
    if (ar.IsStoring())
        ar << m_strFormation << m_strIcon;
    else
        ar >> m_strFormation >> m_strIcon;
}

void CNOrdFormationOrder::DrawIcon(float x, float y, CKDRGameMap* pMap, BOOL)
{
    DrawSpriteAtMapPoint(m_pIcon, x, y, pMap);
}

int CNOrdFormationOrder::TestStart(CTimeSpan, CObject*) { return 0; }

void CNOrdFormationOrder::LoadIcons()
{
    if (m_strIcon.IsEmpty())
        m_strIcon = m_strFormation == SUPPORT_BY_FIRE_NAME ? SUPPORT_BY_FIRE_ICON : TURN_OFF_ICON;
    LoadIcon(m_strIcon);
}

int IsToggleBit(DWORD dwValue)
{
    for (DWORD bit = 2; bit <= 16384; bit <<= 1)
    {
        if (dwValue == bit)
            return static_cast<int>(dwValue);
    }
    return -1;
}

CString GetToggleIconName(DWORD dwCode)
{
    switch (dwCode)
    {
    case 2: return "Node Hold Fire Red";
    case 4: return "Node Defilade Grey";
    case 8: return "Node Sprint Purple";
    // Creep and Radiate have no icon: a name no piece carries.
    case 16: return "Node Creep";
    case 32: return "Node Smoke Grey";
    case 64: return "Node Radiate";
    case 128: return "Node Max Range Blue";
    case 256: return "Node Field Of Fire Blue";
    case 512: return "Node March Speed Green";
    case 1024: return "Node Hide On Contact Grey";
    case 2048: return "Node Engage On Contact Black";
    // Spelt as the catalogue spells it.
    case 4096: return "Node Bypass Obastacles Green";
    case 8192: return "Node Dismount On Contact Grey";
    case 16384: return "Node Do Not Emplace Blue";
    default: return CString();
    }
}

// ---------------------------------------------------------------------------
// CNodeOrderArray

CNodeOrderArray::CNodeOrderArray()
{
    m_astrNames.Add("Stop");
    m_astrNames.Add("Start Time");
    m_astrNames.Add("Toggle Order");
    m_astrNames.Add("Formation Order");
}

CNodeOrderArray::CNodeOrderArray(const CNodeOrderArray& other) : CNodeOrderArray() { AppendCopies(other); }

CNodeOrder* CNodeOrderArray::CloneOrder(const CNodeOrder* pOrder)
{
    if (pOrder == nullptr)
        return nullptr;
    switch (pOrder->GetType())
    {
    case NORD_STOP: return new CNOrdStop;
    case NORD_START_TIME:
    {
        const auto* pSource = static_cast<const CNOrdStartTime*>(pOrder);
        return new CNOrdStartTime(pSource->m_tsStart);
    }
    case NORD_TOGGLE:
    {
        const auto* pSource = static_cast<const CNOrdToggleOrder*>(pOrder);
        auto* pCopy = new CNOrdToggleOrder;
        pCopy->m_tsStart = pSource->m_tsStart;
        pCopy->m_dwToggle = pSource->m_dwToggle;
        pCopy->m_bOn = pSource->m_bOn;
        pCopy->m_bOff = pSource->m_bOff;
        pCopy->LoadIcons();
        return pCopy;
    }
    case NORD_FORMATION:
    {
        const auto* pSource = static_cast<const CNOrdFormationOrder*>(pOrder);
        auto* pCopy = new CNOrdFormationOrder;
        pCopy->m_tsStart = pSource->m_tsStart;
        pCopy->m_strFormation = pSource->m_strFormation;
        pCopy->m_strIcon = pSource->m_strIcon;
        pCopy->LoadIcons();
        return pCopy;
    }
    default: return new CNodeOrder;
    }
}

int CNodeOrderArray::Add(CNodeOrder* pOrder)
{
    if (pOrder == nullptr)
        return -1;
    const UINT nType = pOrder->GetType();
    if ((GetTypes() & nType) != 0)
    {
        for (int i = GetSize() - 1; i >= 0; --i)
        {
            CNodeOrder* pOld = GetAt(i);
            if (pOld == nullptr || pOld->GetType() != nType)
                continue;
            if (nType == NORD_TOGGLE &&
                static_cast<CNOrdToggleOrder*>(pOld)->m_dwToggle != static_cast<CNOrdToggleOrder*>(pOrder)->m_dwToggle)
                continue;
            RemoveAt(i);
        }
    }
    return TypedObArray<CNodeOrder>::Add(pOrder);
}

void CNodeOrderArray::AddOrderOfType(UINT nType)
{
    if ((GetTypes() & nType) != 0)
        return;
    switch (nType)
    {
    case NORD_STOP: Add(new CNOrdStop); break;
    case NORD_START_TIME: Add(new CNOrdStartTime); break;
    case NORD_FORMATION: Add(new CNOrdFormationOrder); break;
    default: break;
    }
}

void CNodeOrderArray::RemoveOfType(UINT nType)
{
    for (int i = GetSize() - 1; i >= 0; --i)
    {
        if (GetAt(i) != nullptr && GetAt(i)->GetType() == nType)
            RemoveAt(i);
    }
}

CNodeOrder* CNodeOrderArray::FindOfType(UINT nType) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (GetAt(i) != nullptr && GetAt(i)->GetType() == nType)
            return GetAt(i);
    }
    return nullptr;
}

int CNodeOrderArray::FindToggle(DWORD dwCode) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CNodeOrder* pOrder = GetAt(i);
        if (pOrder != nullptr && pOrder->GetType() == NORD_TOGGLE &&
            (static_cast<CNOrdToggleOrder*>(pOrder)->m_dwToggle & dwCode) != 0)
            return i;
    }
    return kUnset;
}

UINT CNodeOrderArray::GetTypes() const
{
    UINT nTypes = 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (GetAt(i) != nullptr)
            nTypes |= GetAt(i)->GetType();
    }
    return nTypes;
}

void CNodeOrderArray::AppendCopies(const CNodeOrderArray& source)
{
    for (int i = 0; i < source.GetSize(); ++i)
    {
        if (CNodeOrder* pCopy = CloneOrder(source.GetAt(i)))
            Add(pCopy);
    }
}

BOOL CNodeOrderArray::UpdateStartTimes(CTimeSpan tsNow, CObject* pContext)
{
    BOOL bReached = FALSE;
    for (int i = 0; i < GetSize(); ++i)
    {
        CNodeOrder* pOrder = GetAt(i);
        if (pOrder != nullptr && (pOrder->TestStart(tsNow, pContext) & NORD_START_REACHED) != 0)
        {
            bReached = TRUE;
            break;
        }
    }
    if (bReached)
    {
        RemoveOfType(NORD_START_TIME);
        RemoveOfType(NORD_STOP);
    }
    return bReached;
}
