// The units component's formation services that the path builders and the
// formation orders ask of it.

#include "units/KDRUnits.h"

#include "orders/FormationOrder.h"

CString CKDRUnits::GetFormationGraphic(const CString& strFormation) const
{
    return CUOrdPlatoonFormation::GetSpecialFormationIconName(strFormation);
}
