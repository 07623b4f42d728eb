#include "database/Damage.h"

IMPLEMENT_SERIAL(CDamage, CObject, 1)
IMPLEMENT_SERIAL(CDamageArray, CObArray, 1)

void CDamage::Serialize(CArchive& /*ar*/) {}
