#include "units/UnitWeapon.h"

#include "database/KDRDatabase.h"
#include "database/VCapTurret.h"
#include "database/Vehicle.h"
#include "database/VehicleArray.h"
#include "database/VehicleWeapon.h"
#include "database/Weapon.h"
#include "orders/RecordIO.h"
#include "units/UCapIndirectFire.h"

IMPLEMENT_SERIAL(CUnitWeapon, CObject, 1)
IMPLEMENT_SERIAL(CUnitWeaponArray, CObArray, 1)

namespace
{
// A listed name longer than this is cut to kKeptChars and "...".
constexpr int kLongestListedName = 13;
constexpr int kKeptChars = 10;
// A listed name shorter than this takes a second tab, so the rounds line up.
constexpr int kShortName = 8;

// The database's vehicle list when it is loaded with a weapon list beside it.
bool HasVehiclesAndWeapons(const CKDRDatabase* pDatabase)
{
    return pDatabase != nullptr && pDatabase->HasVehicleList() && pDatabase->GetVehicleArray() != nullptr &&
           pDatabase->GetWeaponArray() != nullptr;
}
}  // namespace

CWeapon* FindMountWeapon(const CVehicleWeapon* pMount, const CWeaponArray* pWeapons)
{
    if (pMount == nullptr || pWeapons == nullptr)
        return nullptr;
    return pWeapons->GetAt(pMount->m_nWeapon);
}

// ---------------------------------------------------------------------------
// CUnitWeapon

void CUnitWeapon::Serialize(CArchive& ar)
{
    record::SerializeWord(ar, m_nRounds);
    record::SerializeWord(ar, m_nFireCountdown);
    record::SerializeWord(ar, m_nReloadCountdown);
    record::SerializeWord(ar, m_nRoundsBeforeReload);
}

// ---------------------------------------------------------------------------
// CUnitWeaponArray

CUnitWeaponArray::CUnitWeaponArray(const CVehicleWeaponArray* pMounts, const CWeaponArray* pWeapons)
{
    AppendFromMounts(pMounts, pWeapons);
}

CVCapTurret* CUnitWeaponArray::FindVehicleTurret(CVehicle* pVehicle)
{
    CVehicleCapArray* pCaps = pVehicle != nullptr ? pVehicle->GetCapabilities() : nullptr;
    if (pCaps == nullptr)
        return nullptr;
    for (CObject* pObject : *pCaps)
    {
        auto* pCap = static_cast<CVehicleCapability*>(pObject);
        if (pCap != nullptr && pCap->GetType() == VCAP_TURRET)
            return dynamic_cast<CVCapTurret*>(pCap);
    }
    for (CObject* pObject : *pCaps)
    {
        auto* pCap = static_cast<CVehicleCapability*>(pObject);
        if (pCap == nullptr)
            continue;
        if (CVehicleCapability* pInside = pCap->FindCapability(VCAP_TURRET))
            return dynamic_cast<CVCapTurret*>(pInside);
    }
    return nullptr;
}

CVehicleWeaponArray* CUnitWeaponArray::GetMountList(CVehicle* pVehicle, BOOL bFromTurret)
{
    if (pVehicle == nullptr)
        return nullptr;
    if (!bFromTurret)
        return pVehicle->GetChassisMounts();
    CVCapTurret* pTurret = FindVehicleTurret(pVehicle);
    return pTurret != nullptr ? pTurret->GetMounts() : nullptr;
}

CVehicleWeapon* CUnitWeaponArray::GetMount(int nVehicle, int nMount, BOOL bFromTurret, CKDRDatabase* pDatabase)
{
    if (pDatabase == nullptr || !pDatabase->HasVehicleList() || pDatabase->GetVehicleArray() == nullptr)
        return nullptr;
    CVehicleWeaponArray* pMounts = GetMountList(pDatabase->GetVehicle(nVehicle), bFromTurret);
    return pMounts != nullptr ? pMounts->GetAt(nMount) : nullptr;
}

void CUnitWeaponArray::AppendFromMounts(const CVehicleWeaponArray* pMounts, const CWeaponArray* pWeapons)
{
    if (pMounts == nullptr)
        return;
    for (CObject* pObject : *pMounts)
    {
        auto* pMount = static_cast<CVehicleWeapon*>(pObject);
        if (pMount == nullptr)
            continue;
        const CWeapon* pWeapon = FindMountWeapon(pMount, pWeapons);
        Add(new CUnitWeapon(pMount->m_nAmmo, pWeapon != nullptr ? pWeapon->m_nRoundsToReload : 0));
    }
}

void CUnitWeaponArray::BuildFromVehicle(int nVehicle, CKDRDatabase* pDatabase, BOOL bFromTurret)
{
    if (!HasVehiclesAndWeapons(pDatabase))
        return;
    CVehicle* pVehicle = pDatabase->GetVehicle(nVehicle);
    if (pVehicle == nullptr)
        return;
    RemoveAll();
    AppendFromMounts(GetMountList(pVehicle, bFromTurret), pDatabase->GetWeaponArray());
}

void CUnitWeaponArray::RebuildIfChanged(CVehicle* pVehicle, CKDRDatabase* pDatabase)
{
    if (pVehicle == nullptr || GetSize() == pVehicle->GetChassisMounts()->GetSize())
        return;
    if (!HasVehiclesAndWeapons(pDatabase))
        return;
    RemoveAll();
    AppendFromMounts(pVehicle->GetChassisMounts(), pDatabase->GetWeaponArray());
}

void CUnitWeaponArray::CountDown(int /*nElapsed*/)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CUnitWeapon* pWeapon = GetAt(i);
        if (pWeapon == nullptr)
            continue;
        int& nCountdown = pWeapon->m_nReloadCountdown != 0 ? pWeapon->m_nReloadCountdown : pWeapon->m_nFireCountdown;
        nCountdown = nCountdown > 1 ? nCountdown - 1 : 0;
    }
}

void CUnitWeaponArray::ResetTimers()
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CUnitWeapon* pWeapon = GetAt(i);
        if (pWeapon == nullptr)
            continue;
        pWeapon->m_nFireCountdown = 0;
        pWeapon->m_nReloadCountdown = 0;
        pWeapon->m_nRoundsBeforeReload = 0;
    }
}

BOOL CUnitWeaponArray::ResupplyFrom(CUnitCapability* pCarrier, const CVehicleWeaponArray* pMounts,
                                    CKDRDatabase* pDatabase)
{
    if (pCarrier == nullptr || pMounts == nullptr || pDatabase == nullptr ||
        pCarrier->GetType() != VCAP_DF_AMMO_CARRIER)
        return FALSE;
    auto* pSupply = dynamic_cast<CUCapDFAmmoCarrier*>(pCarrier);
    if (pSupply == nullptr)
        return FALSE;
    const CWeaponArray* pWeapons = pDatabase->GetWeaponArray();
    BOOL bResult = FALSE;
    for (CAmmoEntry& entry : pSupply->m_load)
    {
        // Weapon 0 is the list's first weapon, not an empty entry.
        if (entry.m_nIndex < 0 || entry.m_nNumber <= 0)
            continue;
        for (int i = 0; i < GetSize(); ++i)
        {
            CUnitWeapon* pRecord = GetAt(i);
            const CVehicleWeapon* pMount = pMounts->GetAt(i);
            if (pRecord == nullptr || pMount == nullptr || pMount->m_nWeapon != entry.m_nIndex ||
                FindMountWeapon(pMount, pWeapons) == nullptr)
                continue;
            const int nNeed = pMount->m_nAmmo - pRecord->m_nRounds;
            if (nNeed < 0)
                continue;
            const int nTaken = nNeed < entry.m_nNumber ? nNeed : entry.m_nNumber;
            pRecord->m_nRounds += nTaken;
            entry.m_nNumber -= nTaken;
            bResult = TRUE;
        }
    }
    return bResult;
}

void CUnitWeaponArray::ListWeapons(CStringList& lines, CVehicle* pVehicle, CKDRDatabase* pDatabase,
                                   BOOL bFromTurret) const
{
    if (pVehicle == nullptr || pDatabase == nullptr)
        return;
    const CVehicleWeaponArray* pMounts = GetMountList(pVehicle, bFromTurret);
    if (pMounts == nullptr)
        return;
    const CWeaponArray* pWeapons = pDatabase->GetWeaponArray();
    for (int i = 0; i < GetSize(); ++i)
    {
        const CUnitWeapon* pRecord = GetAt(i);
        const CWeapon* pWeapon = FindMountWeapon(pMounts->GetAt(i), pWeapons);
        if (pRecord == nullptr || pWeapon == nullptr)
            continue;
        CString strName = pWeapon->m_strName;
        if (strName.GetLength() > kLongestListedName)
            strName = strName.Left(kKeptChars) + "...";
        CString strLine = strName;
        if (strName.GetLength() < kShortName)
            strLine += '\t';
        CString strRounds;
        strRounds.Format("\t%d", pRecord->m_nRounds);
        lines.AddTail(strLine + strRounds);
    }
}

void CUnitWeaponArray::AddInEngagementOrder(int nVehicle, CUnitWeaponArray* pOrdered, CKDRDatabase* pDatabase,
                                            BOOL bFromTurret)
{
    if (pOrdered == nullptr)
        return;
    const CVehicleWeaponArray* pMounts = nullptr;
    if (pDatabase != nullptr && pDatabase->HasVehicleList() && pDatabase->GetVehicleArray() != nullptr)
        pMounts = GetMountList(pDatabase->GetVehicle(nVehicle), bFromTurret);
    const CWeaponArray* pWeapons = pDatabase != nullptr ? pDatabase->GetWeaponArray() : nullptr;

    for (int i = 0; i < GetSize(); ++i)
    {
        CUnitWeapon* pRecord = GetAt(i);
        if (pRecord == nullptr)
            continue;
        pRecord->m_bInTurret = bFromTurret ? 1 : 0;
        pRecord->m_nMount = i;
        const CVehicleWeapon* pMount = pMounts != nullptr ? pMounts->GetAt(i) : nullptr;
        if (pMount == nullptr)
            continue;
        const CWeapon* pWeapon = pMount->GetWeapon(pDatabase, &pRecord->m_nWeapon);
        if (pWeapon == nullptr)
            continue;

        // Position j is weighed by mount j of the same list, not by the
        // record that stands there: the order the game has always fired in.
        int nAt = pOrdered->GetSize();
        for (int j = 0; j < pOrdered->GetSize(); ++j)
        {
            const CWeapon* pOther = FindMountWeapon(pMounts->GetAt(j), pWeapons);
            if (pOther != nullptr && pWeapon->m_nPenetration < pOther->m_nPenetration)
            {
                nAt = j;
                break;
            }
        }
        pOrdered->InsertAt(nAt, pRecord);
    }
}
