#include "database/VehicleCapability.h"

#include "database/DatabaseSupport.h"
#include "database/HTMLPage.h"
#include "database/PieceArray.h"

#include <algorithm>

IMPLEMENT_SERIAL(CVehicleCapability, CObject, 1)
IMPLEMENT_SERIAL(CVehicleCapArray, CObArray, 1)

// ---------------------------------------------------------------------------
// Base: a capability that carries nothing and says nothing

CString CVehicleCapability::WriteHTMLLink(CKDRDatabase*) { return CString(); }

CString CVehicleCapability::WriteHTMLPage(CKDRDatabase*) { return CString(); }

CString CVehicleCapability::GetUnidentifiedName() { return CString(); }

void CVehicleCapability::AddWeapons(CVehicleWeaponArray*, CKDRDatabase*) {}

void CVehicleCapability::DrawRangeArcs(float, float, CKDRDatabase*, CKDRGameMap*) {}

CVehicleCapability* CVehicleCapability::FindCapability(int) { return nullptr; }

int CVehicleCapability::GetSightPercent(BOOL) { return 0; }

BOOL CVehicleCapability::CheckGraphics(CString&, CPieceArray*) { return FALSE; }

BOOL CVehicleCapability::CheckSounds(CString&) { return FALSE; }

BOOL CVehicleCapability::LoadSection(CHTMLPage& page, const char* templateName, const CKDRDatabase* pDatabase)
{
    MakeDataDirectoryCurrent(pDatabase);
    if (!page.LoadTemplate(templateName))
        return FALSE;
    page.ExtractBody();
    return TRUE;
}

CString CVehicleCapability::MakeAnchorLink(const char* anchor, const char* label)
{
    return MakeLinkLine(CString("#") + anchor, label);
}

BOOL CVehicleCapability::CheckPiece(CString& report, CPieceArray* pPieces, const char* what, const CString& name)
{
    if (name.IsEmpty())
        return FALSE;
    if (pPieces != nullptr && pPieces->FindGraphic(CPieceArray::kSinglePiece, name) != PIECE_NOT_FOUND)
        return FALSE;
    report += MakeUndefinedLine(what, name);
    return TRUE;
}

BOOL CVehicleCapability::CheckSound(CString& report, int kind, const char* what, const CString& name)
{
    if (name.IsEmpty() || IsSoundDefined(kind, name))
        return FALSE;
    report += MakeUndefinedLine(what, name);
    return TRUE;
}

// ---------------------------------------------------------------------------
// The collection

CVehicleCapArray::CVehicleCapArray()
{
    for (const char* name : {"Indirect Fire", "Turret", "Dismount", "Personnel Carrier", "Emplace", "Breacher",
                             "Engineer", "Observer", "Fire Direction Center", "DF Ammo Carrier", "IF Ammo Carrier",
                             "Smoker", "Fixed Wing", "Rotary Wing", "Mine Layer"})
        m_typeNames.Add(name);
}

void CVehicleCapArray::DrawRangeArcs(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap* pMap)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CVehicleCapability* pCap = GetAt(i))
            pCap->DrawRangeArcs(x, y, pDatabase, pMap);
    }
}

int CVehicleCapArray::GetMaxSightPercent(BOOL bInfrared)
{
    int nBest = 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CVehicleCapability* pCap = GetAt(i))
            nBest = std::max(nBest, pCap->GetSightPercent(bInfrared));
    }
    return nBest;
}

float CVehicleCapArray::GetTotalVolume()
{
    float fTotal = 0.0f;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CVehicleCapability* pCap = GetAt(i))
            fTotal += pCap->GetVolume();
    }
    return fTotal;
}

CString CVehicleCapArray::GetUnidentifiedName()
{
    if (GetTypeBits() & VCAP_DISMOUNT)
        return "Unidentified dismount";
    for (int i = 0; i < GetSize(); ++i)
    {
        CVehicleCapability* pCap = GetAt(i);
        if (pCap == nullptr)
            continue;
        const CString strName = pCap->GetUnidentifiedName();
        if (!strName.IsEmpty())
            return strName;
    }
    return CString();
}

void CVehicleCapArray::AddWeapons(CVehicleWeaponArray* pList, CKDRDatabase* pDatabase)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CVehicleCapability* pCap = GetAt(i))
            pCap->AddWeapons(pList, pDatabase);
    }
}

CString CVehicleCapArray::WriteHTMLLinks(CKDRDatabase* pDatabase)
{
    CString strLinks;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CVehicleCapability* pCap = GetAt(i))
            strLinks += pCap->WriteHTMLLink(pDatabase);
    }
    return strLinks.IsEmpty() ? CString(DB_NONE_PARAGRAPH) : strLinks;
}

CString CVehicleCapArray::WriteHTMLPages(CKDRDatabase* pDatabase)
{
    CString strPages;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CVehicleCapability* pCap = GetAt(i))
            strPages += pCap->WriteHTMLPage(pDatabase);
    }
    return strPages;
}

BOOL CVehicleCapArray::CheckGraphics(CString& report, CPieceArray* pPieces)
{
    BOOL bFound = FALSE;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CVehicleCapability* pCap = GetAt(i); pCap != nullptr && pCap->CheckGraphics(report, pPieces))
            bFound = TRUE;
    }
    return bFound;
}

BOOL CVehicleCapArray::CheckSounds(CString& report)
{
    BOOL bFound = FALSE;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CVehicleCapability* pCap = GetAt(i); pCap != nullptr && pCap->CheckSounds(report))
            bFound = TRUE;
    }
    return bFound;
}

int CVehicleCapArray::GetTypeBits()
{
    int nBits = 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CVehicleCapability* pCap = GetAt(i))
            nBits |= pCap->GetType();
    }
    return nBits;
}

int CVehicleCapArray::GetTypeMask()
{
    int nMask = 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CVehicleCapability* pCap = GetAt(i))
            nMask |= pCap->GetTypeMask();
    }
    return nMask;
}

CVehicleCapability* CVehicleCapArray::FindByType(int type)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CVehicleCapability* pCap = GetAt(i);
        if (pCap == nullptr)
            continue;
        if (pCap->GetType() == type)
            return pCap;
        if (CVehicleCapability* pInside = pCap->FindCapability(type))
            return pInside;
    }
    return nullptr;
}
