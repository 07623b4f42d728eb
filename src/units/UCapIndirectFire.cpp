#include "units/UCapIndirectFire.h"

#include "battlefield/FireMissionArray.h"
#include "database/IFAmmo.h"
#include "database/KDRDatabase.h"
#include "orders/RecordIO.h"
#include "platform/ui/Display.h"
#include "shell/SoundService.h"

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
