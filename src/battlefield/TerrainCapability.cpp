#include "battlefield/TerrainCapability.h"

IMPLEMENT_SERIAL(CTerrainCapability, CObject, 1)
IMPLEMENT_SERIAL(CTerrainTypeCapability, CObject, 1)
IMPLEMENT_SERIAL(CTerrainCapArray, CObArray, 1)
IMPLEMENT_SERIAL(CTerrainTypeCapArray, CObArray, 1)

CTerrainTypeCapArray::CTerrainTypeCapArray() { m_names.Add("Turret"); }
