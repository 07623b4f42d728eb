#pragma once
// A serialisable list of mission events with their condition lists. Least
// form: an empty list that reads and writes an empty object array.
//
// The list owns its events and reads only CEvent and its kinds, so a mission
// or light file cannot have the loader build an object of any other class.
// CEvent has no factory until the events are built: a file that holds one is
// refused as an unexpected object.

#include "platform/core/Collections.h"

class CEvent : public CObject
{
    DECLARE_DYNAMIC(CEvent)
};

class CEventArray : public TypedObArray<CEvent>
{
    DECLARE_SERIAL(CEventArray)
};
