#include "hierarchy/TaskOrg.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "orders/NodeOrder.h"
#include "platform/core/Archive.h"
#include "platform/core/Unset.h"
#include "platform/ui/Display.h"
#include "platform/ui/Rgn.h"

IMPLEMENT_SERIAL(CTaskOrg, CObject, 1)
IMPLEMENT_SERIAL(CHierarchyTaskOrg, CTaskOrg, 1)
IMPLEMENT_SERIAL(CTaskOrgArray, CObArray, 1)
IMPLEMENT_SERIAL(CTaskOrgArrayArray, CObArray, 1)

namespace
{
const char* const MARKER_PICTURE = "TaskOrg Marker Green";
const char* const NATO_MARKER_PICTURE = "NATO TaskOrg Marker Green";

// A fresh entry of the same kind with the same words (and name).
CTaskOrg* CopyEntry(const CTaskOrg& source)
{
    if (source.GetType() == TASKORG_KIND_NAMED)
    {
        auto* pNamed = new CHierarchyTaskOrg;
        pNamed->m_nUnit = source.m_nUnit;
        pNamed->m_nArray = source.m_nArray;
        pNamed->m_strName = static_cast<const CHierarchyTaskOrg&>(source).m_strName;
        return pNamed;
    }
    return new CTaskOrg(source.m_nUnit, source.m_nArray);
}

void StoreWord(CArchive& ar, int value) { ar << static_cast<WORD>(value); }

int LoadWord(CArchive& ar)
{
    short value = 0;
    ar >> value;
    return value;
}
}  // namespace

// ---------------------------------------------------------------------------
// CTaskOrg

CTaskOrg::CTaskOrg() : CTaskOrg(0, 0) {}

CTaskOrg::CTaskOrg(int nUnit, int nArray)
    : m_nUnit(nUnit), m_nArray(nArray), m_pMarker(nullptr), m_bMarkerLoaded(FALSE), m_bNatoMarker(FALSE)
{
    LoadMarker(FALSE);
}

CTaskOrg::CTaskOrg(const CTaskOrg& other) : CTaskOrg(other.m_nUnit, other.m_nArray) {}

CTaskOrg::~CTaskOrg() { delete m_pMarker; }

void CTaskOrg::LoadMarker(BOOL bNato)
{
    delete m_pMarker;
    m_pMarker = nullptr;
    m_bMarkerLoaded = FALSE;
    m_pMarker = LoadCatalogueSprite(bNato ? NATO_MARKER_PICTURE : MARKER_PICTURE);
    if (m_pMarker == nullptr)
        return;
    m_bMarkerLoaded = TRUE;
    m_bNatoMarker = bNato;
}

void CTaskOrg::Draw(float fX, float fY, CKDRGameMap* pMap, BOOL bNato, float fScale)
{
    if (!m_bMarkerLoaded || pMap == nullptr)
        return;
    if ((bNato != FALSE) != (m_bNatoMarker != FALSE))
    {
        LoadMarker(bNato);
        if (!m_bMarkerLoaded)
            return;
    }
    CDisplay* pDisplay = pMap->GetDisplay();
    if (pDisplay == nullptr || pDisplay->GetBackSurface() == nullptr)
        return;
    m_pMarker->SetScale(fScale > 0.0f ? fScale : 1.0f);

    int px = static_cast<int>(fX);
    int py = static_cast<int>(fY);
    if (const CElevationMap* pElevation = pMap->GetElevationMap())
        pElevation->MapToPixel(fX, fY, &px, &py);
    m_pMarker->SetMapPosition(px, py, pMap->GetMapPicture());

    // Only a marker that reaches into the visible part of the view is drawn.
    const CSize visible = pMap->GetVisibleViewSize();
    CRgn marker;
    CRgn view;
    CRgn shown;
    marker.CreateRectRgn(m_pMarker->GetX(), m_pMarker->GetY(), m_pMarker->GetX() + m_pMarker->GetWidth(),
                         m_pMarker->GetY() + m_pMarker->GetHeight());
    view.CreateRectRgn(0, 0, visible.cx, visible.cy);
    shown.CreateRectRgn(0, 0, 0, 0);
    const int overlap = shown.CombineRgn(&marker, &view, RGN_AND);
    if (overlap != NULLREGION && overlap != RGN_ERROR)
        m_pMarker->Draw(pDisplay->GetBackSurface());
}

void CTaskOrg::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        StoreWord(ar, m_nUnit);
        StoreWord(ar, m_nArray);
    }
    else
    {
        m_nUnit = LoadWord(ar);
        m_nArray = LoadWord(ar);
    }
}

// ---------------------------------------------------------------------------
// CHierarchyTaskOrg

CHierarchyTaskOrg::CHierarchyTaskOrg() = default;

void CHierarchyTaskOrg::Serialize(CArchive& ar)
{
    CTaskOrg::Serialize(ar);
    if (ar.IsStoring())
        ar << m_strName;
    else
        ar >> m_strName;
}

// ---------------------------------------------------------------------------
// CTaskOrgArray

CTaskOrgArray::CTaskOrgArray() : m_nId(TASKORG_NO_GROUP), m_nSide(0) {}

CTaskOrgArray::CTaskOrgArray(const CTaskOrgArray& other)
    : TypedObArray<CTaskOrg>(), m_nId(other.m_nId), m_nSide(other.m_nSide)
{
    AppendCopies(other);
}

CTaskOrgArray::~CTaskOrgArray() = default;

int CTaskOrgArray::FindTaskOrg(int nUnit, int nArray) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        const CTaskOrg* p = GetAt(i);
        if (p != nullptr && p->GetType() == TASKORG_KIND_UNIT && p->m_nUnit == nUnit && p->m_nArray == nArray)
            return i;
    }
    return kUnset;
}

int CTaskOrgArray::FindHierarchyTaskOrg(const CString& strName) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        const CTaskOrg* p = GetAt(i);
        if (p != nullptr && p->GetType() == TASKORG_KIND_NAMED &&
            static_cast<const CHierarchyTaskOrg*>(p)->m_strName == strName)
            return i;
    }
    return kUnset;
}

int CTaskOrgArray::AddUnique(CTaskOrg* pEntry)
{
    if (pEntry == nullptr)
        return kUnset;
    const int found = pEntry->GetType() == TASKORG_KIND_NAMED
                          ? FindHierarchyTaskOrg(static_cast<const CHierarchyTaskOrg*>(pEntry)->m_strName)
                          : FindTaskOrg(pEntry->m_nUnit, pEntry->m_nArray);
    if (found != kUnset)
        return kUnset;
    return Add(pEntry);
}

void CTaskOrgArray::AppendCopies(const CTaskOrgArray& source)
{
    for (int i = 0; i < source.GetSize(); ++i)
    {
        const CTaskOrg* p = source.GetAt(i);
        if (p == nullptr)
            continue;
        CTaskOrg* pCopy = CopyEntry(*p);
        if (AddUnique(pCopy) == kUnset)
            delete pCopy;
    }
}

void CTaskOrgArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        TypedObArray<CTaskOrg>::Serialize(ar);
        StoreWord(ar, m_nId);
        return;
    }
    // Read aside first, so that a bad file leaves the list as it was.
    CTaskOrgArray loaded;
    loaded.TypedObArray<CTaskOrg>::Serialize(ar);
    const int nId = LoadWord(ar);
    Swap(loaded);
    m_nId = nId;
}

// ---------------------------------------------------------------------------
// CTaskOrgArrayArray

int CTaskOrgArrayArray::SetList(CTaskOrgArray* pList)
{
    if (pList == nullptr)
        return kUnset;
    const int index = FindById(pList->m_nId);
    if (index != kUnset)
    {
        if (GetAt(index) == pList)
            return index;
        RemoveAt(index);
    }
    return Add(pList);
}

int CTaskOrgArrayArray::FindById(int nId) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        const CTaskOrgArray* p = GetAt(i);
        if (p != nullptr && p->m_nId == nId)
            return i;
    }
    return kUnset;
}

void CTaskOrgArrayArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        // The same bytes as the plain array of the own side's lists; the
        // others are skipped, not dropped, so the live groups survive a save.
        int nWritten = 0;
        for (int i = 0; i < GetSize(); ++i)
        {
            const CTaskOrgArray* p = GetAt(i);
            nWritten += (p == nullptr || p->m_nSide == 0) ? 1 : 0;
        }
        ar.WriteCount(static_cast<DWORD>(nWritten));
        for (int i = 0; i < GetSize(); ++i)
        {
            const CTaskOrgArray* p = GetAt(i);
            if (p == nullptr || p->m_nSide == 0)
                ar << p;
        }
        return;
    }
    CTaskOrgArrayArray loaded;
    loaded.TypedObArray<CTaskOrgArray>::Serialize(ar);
    Swap(loaded);
}
