#include "units/UCapIndirectFire.h"

#include "battlefield/FireMissionArray.h"
#include "database/IFAmmo.h"
#include "database/KDRDatabase.h"
#include "database/Vehicle.h"
#include "database/Weapon.h"
#include "orders/RecordIO.h"
#include "platform/ui/Command.h"
#include "platform/ui/Display.h"
#include "shell/SoundService.h"
#include "units/UnitMoveSupport.h"

#include <algorithm>

IMPLEMENT_SERIAL(CUCapIndirectFire, CUnitCapability, 1)
IMPLEMENT_SERIAL(CUCapDFAmmoCarrier, CUnitCapability, 1)
IMPLEMENT_SERIAL(CUCapIFAmmoCarrier, CUCapDFAmmoCarrier, 1)

using record::SerializeFlag;
using record::SerializeWord;

CUCapIndirectFire::CUCapIndirectFire() : m_pMissions(new CFireMissionArray), m_pFlashSprite(new CSprite) {}

CUCapIndirectFire::CUCapIndirectFire(const CVCapIndirectFire* pVehicleCap) : CUCapIndirectFire()
{
    if (pVehicleCap != nullptr)
        m_ammo = pVehicleCap->m_ammo;
}

CUCapIndirectFire::~CUCapIndirectFire()
{
    delete m_pFlashSprite;
    delete m_pMissions;
}

void CUCapIndirectFire::Serialize(CArchive& ar)
{
    m_pMissions->Serialize(ar);
    SerializeFlag(ar, m_bTraversing);
    SerializeWord(ar, m_nTraverseLeft);
    SerializeFlag(ar, m_bComputing);
    SerializeWord(ar, m_nComputeLeft);
    SerializeFlag(ar, m_bLoading);
    SerializeWord(ar, m_nLoadLeft);
    SerializeFlag(ar, m_bShot);
    SerializeWord(ar, m_nShotStage);
    SerializeFlag(ar, m_bVolleyReport);
    SerializeWord(ar, m_nVolleySize);
    SerializeWord(ar, m_nVolleyCount);
    SerializeWord(ar, m_nStoredValue1);
    SerializeFlag(ar, m_bUnloading);
    SerializeWord(ar, m_nStoredValue2);
    SerializeWord(ar, m_nStoredValue3);
    SerializeFlag(ar, m_bStoredFlag2);
    SerializeFlag(ar, m_bStoredFlag1);
    SerializeAmmoEntries(ar, m_ammo);
}

int CUCapIndirectFire::GetPositionOfType(int nMunitionType, CKDRDatabase* pDatabase) const
{
    if (pDatabase == nullptr)
        return -1;
    for (size_t i = 0; i < m_ammo.size(); ++i)
    {
        const CIFAmmo* pAmmo = pDatabase->GetIFAmmo(m_ammo[i].m_nIndex);
        if (pAmmo != nullptr && (pAmmo->m_nMunitionType & nMunitionType) != 0)
            return static_cast<int>(i);
    }
    return -1;
}

int CUCapIndirectFire::GetRoundsAt(int nPosition) const
{
    if (nPosition < 0 || static_cast<size_t>(nPosition) >= m_ammo.size())
        return 0;
    return m_ammo[static_cast<size_t>(nPosition)].m_nNumber;
}

void CUCapIndirectFire::FireRound(int nMunitionIndex, const CVCapIndirectFire* pVehicleCap)
{
    if (CSoundService* pSound = GetSoundService();
        pSound != nullptr && pVehicleCap != nullptr && !pVehicleCap->m_strShotSound.IsEmpty())
        pSound->PlayArtillerySound(pVehicleCap->m_strShotSound);
    for (CAmmoEntry& entry : m_ammo)
    {
        if (entry.m_nIndex == nMunitionIndex)
        {
            --entry.m_nNumber;
            return;
        }
    }
}

int CUCapIndirectFire::ClearCycle()
{
    m_bTraversing = FALSE;
    m_nTraverseLeft = 0;
    m_bComputing = FALSE;
    m_nComputeLeft = 0;
    m_bLoading = FALSE;
    m_nLoadLeft = 0;
    m_bUnloading = FALSE;
    return 0;
}

// ---------------------------------------------------------------------------

CUCapDFAmmoCarrier::CUCapDFAmmoCarrier(const CVCapDFAmmoCarrier* pVehicleCap)
{
    if (pVehicleCap != nullptr)
        m_load = pVehicleCap->m_ammo;
}

void CUCapDFAmmoCarrier::Serialize(CArchive& ar) { SerializeAmmoEntries(ar, m_load); }

CUCapIFAmmoCarrier::CUCapIFAmmoCarrier(const CVCapIFAmmoCarrier* pVehicleCap) : CUCapDFAmmoCarrier(pVehicleCap) {}

// ---------------------------------------------------------------------------
// Loads: what the battery and the carriers show and take

BOOL TopUpLoad(CAmmoEntryList& load, const CAmmoEntryList& full, CAmmoEntryList& supply)
{
    if (load.empty() || load.size() != full.size())
        return FALSE;
    BOOL bMoved = FALSE;
    for (size_t i = 0; i < load.size(); ++i)
    {
        if (load[i].m_nIndex != full[i].m_nIndex)
            continue;
        int nRoom = full[i].m_nNumber - load[i].m_nNumber;
        for (CAmmoEntry& source : supply)
        {
            if (nRoom <= 0)
                break;
            if (source.m_nIndex != load[i].m_nIndex || source.m_nNumber <= 0)
                continue;
            const int nTaken = std::min(nRoom, source.m_nNumber);
            source.m_nNumber -= nTaken;
            load[i].m_nNumber += nTaken;
            nRoom -= nTaken;
            bMoved = TRUE;
        }
    }
    return bMoved;
}

BOOL CUCapIndirectFire::ReceiveAmmunition(CUnitCapability* pCarrier, CVehicle* pVehicle, CKDRDatabase*)
{
    auto* pSupplier = dynamic_cast<CUCapDFAmmoCarrier*>(pCarrier);
    if (pSupplier == nullptr || pSupplier->GetType() != VCAP_IF_AMMO_CARRIER || pVehicle == nullptr)
        return FALSE;
    const auto* pGun = dynamic_cast<const CVCapIndirectFire*>(pVehicle->FindCapability(VCAP_INDIRECT_FIRE));
    return pGun != nullptr && TopUpLoad(m_ammo, pGun->m_ammo, pSupplier->m_load);
}

void CUCapIndirectFire::GetAmmunitionLines(CStringList& lines, CKDRDatabase* pDatabase)
{
    for (const CAmmoEntry& entry : m_ammo)
    {
        const CIFAmmo* pAmmo = pDatabase != nullptr ? pDatabase->GetIFAmmo(entry.m_nIndex) : nullptr;
        if (pAmmo == nullptr)
            continue;
        CString line;
        line.Format("%s\t%d", pAmmo->m_strName.GetString(), entry.m_nNumber);
        lines.AddTail(line);
    }
}

BOOL CUCapIndirectFire::Validate(CVehicle*, CVehicleCapability* pVehicleCap, CKDRDatabase*, CString&)
{
    const auto* pGun = dynamic_cast<const CVCapIndirectFire*>(pVehicleCap);
    if (pGun == nullptr)
        return FALSE;
    if (!unit_move::IsDeployment() && m_ammo.size() == pGun->m_ammo.size())
        return FALSE;
    m_ammo = pGun->m_ammo;
    return FALSE;
}

void CUCapDFAmmoCarrier::AddMenuItems(CMenu* pMenu)
{
    CMenu* pPopup = pMenu != nullptr ? pMenu->GetSubMenu(UNIT_MENU_POPUP) : nullptr;
    CMenu* pActions = pPopup != nullptr ? pPopup->GetSubMenu(UNIT_MENU_ACTIONS) : nullptr;
    if (pActions == nullptr)
        return;
    for (UINT i = 0; i < pActions->GetMenuItemCount(); ++i)
    {
        if (pActions->GetMenuItemID(static_cast<int>(i)) == ID_UNIT_UPLOAD)
            return;
    }
    pActions->AppendMenu(MF_STRING, ID_UNIT_UPLOAD, "&Upload");
}

BOOL CUCapDFAmmoCarrier::HasAmmunition() const
{
    for (const CAmmoEntry& entry : m_load)
    {
        if (entry.m_nIndex >= 0 && entry.m_nNumber > 0)
            return TRUE;
    }
    return FALSE;
}

CString CUCapDFAmmoCarrier::GetItemName(int nIndex, CKDRDatabase* pDatabase) const
{
    const CWeapon* pWeapon = pDatabase != nullptr ? pDatabase->GetWeapon(nIndex) : nullptr;
    return pWeapon != nullptr ? pWeapon->m_strName : CString();
}

CString CUCapIFAmmoCarrier::GetItemName(int nIndex, CKDRDatabase* pDatabase) const
{
    const CIFAmmo* pAmmo = pDatabase != nullptr ? pDatabase->GetIFAmmo(nIndex) : nullptr;
    return pAmmo != nullptr ? pAmmo->m_strName : CString();
}

void CUCapDFAmmoCarrier::GetAmmunitionLines(CStringList& lines, CKDRDatabase* pDatabase)
{
    for (const CAmmoEntry& entry : m_load)
    {
        const CString strName = GetItemName(entry.m_nIndex, pDatabase);
        if (strName.IsEmpty())
            continue;
        CString line;
        line.Format("%s\t\t%d", strName.GetString(), entry.m_nNumber);
        lines.AddTail(line);
    }
}

BOOL CUCapDFAmmoCarrier::ReceiveAmmunition(CUnitCapability* pCarrier, CVehicle* pVehicle, CKDRDatabase*)
{
    auto* pSupplier = dynamic_cast<CUCapDFAmmoCarrier*>(pCarrier);
    if (pSupplier == nullptr || pSupplier == this || pSupplier->GetType() != GetType() || pVehicle == nullptr)
        return FALSE;
    const auto* pFull = dynamic_cast<const CVCapDFAmmoCarrier*>(pVehicle->FindCapability(static_cast<int>(GetType())));
    return pFull != nullptr && TopUpLoad(m_load, pFull->m_ammo, pSupplier->m_load);
}

BOOL CUCapDFAmmoCarrier::Validate(CVehicle*, CVehicleCapability* pVehicleCap, CKDRDatabase*, CString&)
{
    const auto* pFull = dynamic_cast<const CVCapDFAmmoCarrier*>(pVehicleCap);
    if (pFull == nullptr)
        return FALSE;
    // Refilled "every time", every carrier would come back full whenever a
    // saved game reopens: the load is the battle's, as a battery's is.
    if (!unit_move::IsDeployment() && m_load.size() == pFull->m_ammo.size())
        return FALSE;
    m_load = pFull->m_ammo;
    return FALSE;
}
