#pragma once
// CFireMissionArray: a list of indirect-fire missions. The document keeps
// one as its list of rounds in flight, created empty for every mission and
// deleted with the mission's contents.

#include "platform/Core.h"

class CFireMissionArray : public CObArray
{
    DECLARE_SERIAL(CFireMissionArray)
public:
    CFireMissionArray() = default;
};
