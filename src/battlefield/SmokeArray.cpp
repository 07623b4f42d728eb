#include "battlefield/SmokeArray.h"

IMPLEMENT_SERIAL(CSmokeArray, CObArray, 1)
