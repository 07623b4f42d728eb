#pragma once
// CSmokeArray: the document's smoke and illumination clouds. The document
// creates an empty one for every mission and deletes it with the mission's
// contents; the clouds themselves are added by impacts during play.

#include "platform/Core.h"

class CSmokeArray : public CObArray
{
    DECLARE_SERIAL(CSmokeArray)
public:
    CSmokeArray() = default;
};
