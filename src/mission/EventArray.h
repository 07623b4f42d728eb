#pragma once
// A serialisable list of mission events with their condition lists. Least
// form: an empty list that reads and writes an empty object array.

#include "platform/core/Collections.h"

class CEventArray : public CObArray
{
    DECLARE_SERIAL(CEventArray)
};
