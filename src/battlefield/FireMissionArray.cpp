#include "battlefield/FireMissionArray.h"

IMPLEMENT_SERIAL(CFireMissionArray, CObArray, 1)
