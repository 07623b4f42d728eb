#include "database/Vehicle.h"

#include "database/DatabaseSupport.h"
#include "database/HTMLPage.h"
#include "database/IFAmmo.h"
#include "database/KillPercentage.h"
#include "database/VCapTurret.h"
#include "database/VehicleCapability.h"
#include "database/VehicleWeapon.h"
#include "platform/core/File.h"

#include <algorithm>
#include <memory>
#include <vector>

IMPLEMENT_SERIAL(CVehicle, CObject, 1)

namespace
{
// The picture a page shows for a type without one of its own.
const char* const LOGO_PICTURE = "kdr_logo.jpg";
// The view range is stored in tens of metres.
constexpr int METRES_PER_VIEW_UNIT = 10;

struct RoleWord
{
    int bit;
    const char* word;
};
const RoleWord ROLE_WORDS[] = {
    {ROLE_ATTACK, "attack"},
    {ROLE_ARTILLERY, "artillery"},
    {ROLE_ANTI_TANK, "anti-tank"},
    {ROLE_DISMOUNT, "dismount"},
    {ROLE_INTEL, "intel collection"},
    {ROLE_RECON, "recon"},
    {ROLE_AIR_DEFENSE, "air defense"},
    {ROLE_FIXED_WING, "fixed wing aircraft"},
    {ROLE_ROTARY_WING, "rotary wing aircraft"},
    {ROLE_TROOP_CARRIER, "troop carriers"},
    {ROLE_ENGINEER, "engineer"},
    {ROLE_SERVICE_SUPPORT, "Service Support"},
    {ROLE_C2, "C2"},
    {ROLE_OBSERVER, "observer"},
};
}  // namespace

CVehicle::CVehicle()
    : m_pChassisMounts(new CVehicleWeaponArray),
      m_pCapabilities(new CVehicleCapArray),
      m_pKillPercentages(new CKillPercentageArray)
{
}

CVehicle::~CVehicle()
{
    delete m_pKillPercentages;
    delete m_pCapabilities;
    delete m_pChassisMounts;
}

void CVehicle::Serialize(CArchive& ar)
{
    m_pKillPercentages->Serialize(ar);
    m_pChassisMounts->Serialize(ar);
    m_pCapabilities->Serialize(ar);
    if (ar.IsStoring())
    {
        ar << m_fSpeed << m_fSprint << m_fReverse;
        StoreWord(ar, m_nTurnSpeed);
        StoreWord(ar, m_nTurnRadius);
        StoreWord(ar, m_nViewRange);
        ar << m_strName;
        StoreWord(ar, m_nTimeToMove);
        ar << m_fHeight << m_fWidth << m_fLength;
        StoreWord(ar, m_nWeight);
        StoreFlag(ar, m_bFlag);
        StoreWord(ar, m_nTimeToDefilade);
        ar << m_strNatoPiece << m_strPiece << m_strHitGraphic << m_strDestroyedGraphic;
        ar << m_strVehicleSound << m_strDestroyedSound;
        for (int value : {m_nTargetValue, m_nThreatValue, m_nProtectionValue, m_nPGMValue, m_nDPICMValue, m_nHEValue,
                          m_nNuclearValue, m_nChemicalValue})
            StoreWord(ar, value);
        ar << m_strPicture;
        ar << m_fNBCDetectValue;
        StoreWord(ar, m_nRoleMask);
        StoreWord(ar, m_nSpareWord);
    }
    else
    {
        ar >> m_fSpeed >> m_fSprint >> m_fReverse;
        m_nTurnSpeed = LoadWord(ar);
        m_nTurnRadius = LoadWord(ar);
        m_nViewRange = LoadWord(ar);
        ar >> m_strName;
        m_nTimeToMove = LoadWord(ar);
        ar >> m_fHeight >> m_fWidth >> m_fLength;
        m_nWeight = LoadWord(ar);
        LoadFlag(ar, m_bFlag);
        m_nTimeToDefilade = LoadWord(ar);
        ar >> m_strNatoPiece >> m_strPiece >> m_strHitGraphic >> m_strDestroyedGraphic;
        ar >> m_strVehicleSound >> m_strDestroyedSound;
        for (int* pValue : {&m_nTargetValue, &m_nThreatValue, &m_nProtectionValue, &m_nPGMValue, &m_nDPICMValue,
                            &m_nHEValue, &m_nNuclearValue, &m_nChemicalValue})
            *pValue = LoadWord(ar);
        ar >> m_strPicture;
        ar >> m_fNBCDetectValue;
        m_nRoleMask = LoadWord(ar);
        m_nSpareWord = LoadWord(ar);
    }
}

CString CVehicle::WriteHTMLPage(CKDRDatabase* pDatabase)
{
    MakeDataDirectoryCurrent(pDatabase);
    CHTMLPage page;
    if (!page.LoadTemplate("vehicle.htm"))
        return CString();

    page.ReplaceTag("*picture*",
                    m_strPicture.IsEmpty() ? JoinPath(GetDataDirectory(pDatabase), LOGO_PICTURE) : m_strPicture);
    page.ReplaceTag("*name*", m_strName);
    page.ReplaceTagFloat("*speed*", m_fSpeed);
    page.ReplaceTagFloat("*sprint*", m_fSprint);
    page.ReplaceTagFloat("*nbcDetectValue*", m_fNBCDetectValue);
    page.ReplaceTagInt("*timeToMove*", m_nTimeToMove);
    page.ReplaceTagInt("*timeToDefilade*", m_nTimeToDefilade);
    page.ReplaceTagInt("*targetValue*", m_nTargetValue);
    page.ReplaceTagInt("*threatValue*", m_nThreatValue);
    page.ReplaceTagInt("*protectionValue*", m_nProtectionValue);

    {
        std::unique_ptr<CVehicleWeaponArray> pAll(BuildWeaponList(pDatabase));
        page.ReplaceTag("*totalWeapons*", pAll->WriteWeaponTable(pDatabase));
    }
    page.ReplaceTag("*attributeList*", m_pCapabilities->WriteHTMLLinks(pDatabase));

    page.ReplaceTagFloat("*reverse*", m_fReverse);
    page.ReplaceTagInt("*turnSpeed*", m_nTurnSpeed);
    page.ReplaceTagInt("*turnRadius*", m_nTurnRadius);
    page.ReplaceTagInt("*viewRange*", m_nViewRange * METRES_PER_VIEW_UNIT);
    page.ReplaceTagFloat("*height*", m_fHeight);
    page.ReplaceTagFloat("*length*", m_fLength);
    page.ReplaceTagFloat("*width*", m_fWidth);
    page.ReplaceTagInt("*weight*", m_nWeight);
    page.ReplaceTagInt("*HE*", m_nHEValue);
    page.ReplaceTagInt("*DPICM*", m_nDPICMValue);
    page.ReplaceTagInt("*nuke*", m_nNuclearValue);
    page.ReplaceTagInt("*pgm*", m_nPGMValue);
    page.ReplaceTagInt("*chem*", m_nChemicalValue);

    page.ReplaceTag("*percentKillArray*", m_pKillPercentages->WriteHTML(pDatabase));
    page.ReplaceTag("*chasisWeapons*", m_pChassisMounts->WriteWeaponTable(pDatabase));
    // A team's "chassis" is its people.
    if (m_pCapabilities->GetTypeBits() & VCAP_DISMOUNT)
        page.ReplaceTag("Chassis", "Personnel");
    page.ReplaceTag("*attributes*", m_pCapabilities->WriteHTMLPages(pDatabase));

    const CString strPageName = CHTMLPage::MakePageName(m_strName);
    MakeSavegameDirectoryCurrent(pDatabase);
    page.WritePage(strPageName);
    MakeDataDirectoryCurrent(pDatabase);
    return MakeLinkLine(strPageName, m_strName);
}

void CVehicle::DrawRangeArcs(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap* pMap)
{
    m_pChassisMounts->DrawRangeArcs(x, y, pDatabase, pMap);
    m_pCapabilities->DrawRangeArcs(x, y, pDatabase, pMap);
}

float CVehicle::GetTotalHeight()
{
    // The turret sits on the hull: the first one, at the top or inside
    // another capability, adds its height.
    if (!(m_pCapabilities->GetTypeMask() & VCAP_TURRET))
        return m_fHeight;
    const auto* pTurret = static_cast<const CVCapTurret*>(m_pCapabilities->FindByType(VCAP_TURRET));
    return pTurret != nullptr ? m_fHeight + pTurret->m_fHeight : m_fHeight;
}

int CVehicle::GetMaxSightPercent(bool bInfrared)
{
    return std::max(m_pCapabilities->GetMaxSightPercent(bInfrared), m_pChassisMounts->GetMaxSightPercent(bInfrared));
}

float CVehicle::GetTargetSize()
{
    return (m_pCapabilities->GetTotalVolume() + m_fLength * m_fWidth * m_fHeight) * kTargetSizePerVolume;
}

CString CVehicle::GetIdentifiedName()
{
    const CString strName = m_pCapabilities->GetUnidentifiedName();
    return strName.IsEmpty() ? CString("Unidentified vehicle") : strName;
}

CVehicleWeaponArray* CVehicle::BuildWeaponList(CKDRDatabase* pDatabase)
{
    auto* pList = new CVehicleWeaponArray(FALSE);
    m_pChassisMounts->AddToWeaponList(pList, pDatabase);
    m_pCapabilities->AddWeapons(pList, pDatabase);
    return pList;
}

int CVehicle::GetKindCode()
{
    if (m_pCapabilities == nullptr)
        return 0;
    const int nMask = m_pCapabilities->GetTypeMask();
    if (nMask & VCAP_DISMOUNT)
        return kKindDismount;
    if (nMask & VCAP_FIXED_WING)
        return kKindFixedWing;
    if (nMask & VCAP_ROTARY_WING)
        return kKindRotaryWing;
    return kKindGround;
}

int CVehicle::GetMunitionValue(int munitionBit) const
{
    switch (munitionBit)
    {
    case MUNITION_HE:
    case MUNITION_HERAP: return m_nHEValue;
    case MUNITION_DPICM:
    case MUNITION_BBDPICM: return m_nDPICMValue;
    case MUNITION_CHEMICAL: return m_nChemicalValue;
    case MUNITION_NUCLEAR: return m_nNuclearValue;
    case MUNITION_PGM: return m_nPGMValue;
    default: return kUnset;
    }
}

CVehicleCapability* CVehicle::FindCapability(int type) { return m_pCapabilities->FindByType(type); }

int CVehicle::RoleFlagsToCategory(int roleMask)
{
    if (roleMask & ROLE_RECON)
        return kCategoryRecon;
    if (roleMask & ROLE_ANTI_TANK)
        return kCategoryAntiTank;
    if (roleMask & ROLE_ATTACK)
        return kCategoryAttack;
    if (roleMask == ROLE_DISMOUNT)
        return kCategoryDismount;
    return kCategoryNone;
}

CString CVehicle::RoleFlagsToText(int roleMask)
{
    std::vector<const char*> words;
    for (const RoleWord& role : ROLE_WORDS)
    {
        if (roleMask & role.bit)
            words.push_back(role.word);
    }
    CString text;
    for (size_t i = 0; i < words.size(); ++i)
    {
        if (i > 0)
        {
            const bool bLast = i + 1 == words.size();
            if (bLast && words.size() == 2)
                text += " and ";
            else if (bLast)
                text += ",and ";
            else
                text += ", ";
        }
        text += words[i];
    }
    return text;
}
