#include "mission/EventArray.h"

IMPLEMENT_SERIAL(CEventArray, CObArray, 1)
