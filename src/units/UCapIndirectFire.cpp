#include "units/UCapIndirectFire.h"

#include "battlefield/FireMissionArray.h"
#include "orders/RecordIO.h"
#include "platform/ui/Display.h"

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

// ---------------------------------------------------------------------------

CUCapDFAmmoCarrier::CUCapDFAmmoCarrier(const CVCapDFAmmoCarrier* pVehicleCap)
{
    if (pVehicleCap != nullptr)
        m_load = pVehicleCap->m_ammo;
}

void CUCapDFAmmoCarrier::Serialize(CArchive& ar) { SerializeAmmoEntries(ar, m_load); }

CUCapIFAmmoCarrier::CUCapIFAmmoCarrier(const CVCapIFAmmoCarrier* pVehicleCap) : CUCapDFAmmoCarrier(pVehicleCap) {}
