#include "orders/FormationOrder.h"

#include "mission/ConditionArray.h"
#include "mission/ConditionKinds.h"
#include "orders/FormationTemplateArray.h"
#include "orders/RecordIO.h"

#include <cmath>

IMPLEMENT_SERIAL(CUOrdPlatoonFormationPlace, CObject, 1)
IMPLEMENT_SERIAL(CUOrdCompanyFormationPlace, CUOrdPlatoonFormationPlace, 1)
IMPLEMENT_SERIAL(CUOrdPlatoonFormation, CUnitOrder, 1)
IMPLEMENT_SERIAL(CUOrdCompanyFormation, CUOrdPlatoonFormation, 1)
IMPLEMENT_SERIAL(CUOrdConditionalStart, CUnitOrder, 1)

namespace
{
// The call-back condition of a conditional start: watch value -99, a share
// of 100 percent, and the event of a stop at the end of the leg.
constexpr int START_WATCH_VALUE = kUnset;
constexpr int START_SHARE = 100;
constexpr DWORD START_EVENT_MASK = 1;
}  // namespace

void CUOrdPlatoonFormationPlace::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << static_cast<WORD>(m_bSet1 ? 1 : 0) << m_fX << m_fY << m_nSlotCode << m_strMember
           << static_cast<WORD>(m_bLeader ? 1 : 0);
    }
    else
    {
        record::ReadFlag(ar, m_bSet1);
        ar >> m_fX >> m_fY >> m_nSlotCode >> m_strMember;
        record::ReadFlag(ar, m_bLeader);
    }
}

BOOL CUOrdPlatoonFormationPlace::IsNear(float, float, float, float, float) const { return FALSE; }

void CUOrdCompanyFormationPlace::Serialize(CArchive& ar)
{
    CUOrdPlatoonFormationPlace::Serialize(ar);
    if (ar.IsStoring())
        ar << m_strPlatoonFormation << m_fRadius << m_fExtentX << m_fExtentY;
    else
        ar >> m_strPlatoonFormation >> m_fRadius >> m_fExtentX >> m_fExtentY;
}

BOOL CUOrdCompanyFormationPlace::IsNear(float x, float y, float, float fLength, float fHeading) const
{
    const float a = fLength * std::sin(fHeading);
    const float b = fLength * std::cos(fHeading);
    const float points[5][2] = {
        {m_fX, m_fY}, {m_fX - a, m_fY - b}, {m_fX + a, m_fY + b}, {m_fX - a, m_fY + b}, {m_fX + a, m_fY - b}};
    for (const auto& p : points)
    {
        if (std::hypot(x - p[0], y - p[1]) < m_fRadius)
            return TRUE;
    }
    return FALSE;
}

CUOrdPlatoonFormation::CUOrdPlatoonFormation() = default;

CUOrdPlatoonFormation::CUOrdPlatoonFormation(const CString& templateName) : m_strTemplate(templateName) {}

CUOrdPlatoonFormation::CUOrdPlatoonFormation(const CFormationPlatoonTemplate* pTemplate)
{
    if (pTemplate != nullptr)
        m_strTemplate = pTemplate->m_strName;
}

CUOrdPlatoonFormation::CUOrdPlatoonFormation(const CUOrdPlatoonFormation& other)
    : CUnitOrder(other),
      m_fReferenceY(other.m_fReferenceY),
      m_fReferenceX(other.m_fReferenceX),
      m_strTemplate(other.m_strTemplate)
{
    for (int i = 0; i < other.m_places.GetSize(); ++i)
    {
        const CUOrdPlatoonFormationPlace* pPlace = other.m_places.GetAt(i);
        if (pPlace == nullptr)
            continue;
        if (pPlace->IsCompanyPlace())
            m_places.Add(new CUOrdCompanyFormationPlace(*static_cast<const CUOrdCompanyFormationPlace*>(pPlace)));
        else
            m_places.Add(new CUOrdPlatoonFormationPlace(*pPlace));
    }
}

void CUOrdPlatoonFormation::Serialize(CArchive& ar)
{
    CUnitOrder::Serialize(ar);
    m_places.Serialize(ar);
    if (ar.IsStoring())
        ar << m_strTemplate << m_fReferenceX << m_fReferenceY;
    else
        ar >> m_strTemplate >> m_fReferenceX >> m_fReferenceY;
}

BOOL CUOrdPlatoonFormation::IsSpecial() const
{
    return m_strTemplate == SBF_DEFENSE_NAME || m_strTemplate == POSITION_AREA_NAME;
}

void CUOrdPlatoonFormation::GetOffset(float& x, float& y) const
{
    x = m_fReferenceX;
    y = m_fReferenceY;
}

CString CUOrdPlatoonFormation::GetSpecialFormationIconName(const CString& name)
{
    if (name == SBF_DEFENSE_NAME)
        return "Formation Support By Fire Red";
    if (name == POSITION_AREA_NAME)
        return "Formation Position Area Red";
    return CString();
}

CUOrdConditionalStart::CUOrdConditionalStart(int nNumber, BOOL bFormation, CHierarchyPlatoon*, CKDRUnits*)
    : m_bFormation(bFormation), m_nNumber(nNumber)
{
    auto* pCallBack = new CConditionCallBack;
    pCallBack->m_nFirstWord = START_WATCH_VALUE;
    pCallBack->m_nSecondWord = START_SHARE;
    pCallBack->m_dwEventMask = START_EVENT_MASK;
    m_pConditions->Add(pCallBack);
}

void CUOrdConditionalStart::Serialize(CArchive& ar)
{
    CUnitOrder::Serialize(ar);
    if (ar.IsStoring())
    {
        ar << static_cast<WORD>(m_bFormation ? 1 : 0) << static_cast<WORD>(m_nNumber);
    }
    else
    {
        record::ReadFlag(ar, m_bFormation);
        short nNumber = 0;
        ar >> nNumber;
        m_nNumber = nNumber;
    }
}
