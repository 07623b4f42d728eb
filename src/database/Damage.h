#pragma once
// CDamage and CDamageArray: the damage records a unit keeps. A record has no
// fields of its own and an empty stored form; the array serialises as a
// plain object array (its string array is not stored). Nothing in the
// equipment database fills them.

#include "platform/core/Collections.h"
#include "platform/core/Object.h"

class CDamage : public CObject
{
    DECLARE_SERIAL(CDamage)
public:
    CDamage() = default;
    void Serialize(CArchive& ar) override;
};

class CDamageArray : public TypedObArray<CDamage>
{
    DECLARE_SERIAL(CDamageArray)
public:
    CDamageArray() = default;

    CStringArray m_strings;
};
