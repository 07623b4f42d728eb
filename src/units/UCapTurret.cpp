#include "units/UCapTurret.h"

#include "database/Damage.h"
#include "database/DatabaseSupport.h"
#include "database/KDRDatabase.h"
#include "database/VCapTurret.h"
#include "orders/RecordIO.h"
#include "platform/ui/Display.h"
#include "units/UnitWeapon.h"

IMPLEMENT_SERIAL(CUCapTurret, CUnitCapability, 1)

using record::SerializeValue;
using record::SerializeWord;

namespace
{
// How deep the turret being read lies inside other turrets.
thread_local int t_nLoadDepth = 0;

struct CNestingGuard
{
    CNestingGuard() { ++t_nLoadDepth; }
    ~CNestingGuard() { --t_nLoadDepth; }
    CNestingGuard(const CNestingGuard&) = delete;
    CNestingGuard& operator=(const CNestingGuard&) = delete;
};
}  // namespace

CUCapTurret::CUCapTurret()
    : m_pWeapons(new CUnitWeaponArray), m_pSubCaps(new CUnitCapArray), m_pDamage(new CDamageArray)
{
}

CUCapTurret::CUCapTurret(CVCapTurret* pVehicleCap, CKDRDatabase* pDatabase)
    : m_pWeapons(
          new CUnitWeaponArray(pVehicleCap->GetMounts(), pDatabase != nullptr ? pDatabase->GetWeaponArray() : nullptr)),
      m_pSubCaps(new CUnitCapArray(pVehicleCap->GetCapabilities(), pDatabase)),
      m_pDamage(new CDamageArray)
{
}

CUCapTurret::~CUCapTurret()
{
    delete m_pArrow;
    delete m_pSprite;
    delete m_pDamage;
    delete m_pSubCaps;
    delete m_pWeapons;
}

void CUCapTurret::Serialize(CArchive& ar)
{
    CNestingGuard guard;
    if (ar.IsLoading() && t_nLoadDepth > MAX_NESTING)
        ThrowBadFormat(ar);
    m_pWeapons->Serialize(ar);
    m_pSubCaps->Serialize(ar);
    m_pDamage->Serialize(ar);
    SerializeValue(ar, m_fDirection);
    SerializeWord(ar, m_nTargetUnit);
    SerializeWord(ar, m_nTargetArray);
    SerializeWord(ar, m_nTargetKind);
    SerializeWord(ar, m_nStoredValue);
    SerializeValue(ar, m_fOffset);
}

// The icon of a turret that carries nothing with an icon of its own is no
// icon at all, so that the unit's later capabilities still have their say.
CString CUCapTurret::GetUnidentifiedName() const { return m_pSubCaps->FindUnidentifiedName(); }

CString CUCapTurret::GetUnidentifiedBitmap() const { return m_pSubCaps->FindUnidentifiedBitmap(); }

CUnitCapability* CUCapTurret::FindCapability(DWORD dwType) { return m_pSubCaps->FindCapability(dwType); }

DWORD CUCapTurret::GetFlagMask() const { return m_pSubCaps->GetTypeMask(); }
