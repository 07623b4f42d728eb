#include "mission/EventArray.h"

IMPLEMENT_DYNAMIC(CEvent, CObject)
IMPLEMENT_SERIAL(CEventArray, CObArray, 1)
