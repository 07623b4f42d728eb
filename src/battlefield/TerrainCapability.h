#pragma once
// Capabilities that a terrain type or a terrain feature may carry. No
// concrete kind exists yet: the classes are there so that the lists stored
// with every type and feature in the elevation file read and write.

#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Object.h"

class CTerrainCapability : public CObject
{
    DECLARE_SERIAL(CTerrainCapability)
public:
    virtual int GetType() const { return 0; }
    virtual CString GetName() const { return CString(); }
};

class CTerrainTypeCapability : public CObject
{
    DECLARE_SERIAL(CTerrainTypeCapability)
public:
    virtual int GetType() const { return 0; }
    virtual CString GetName() const { return CString(); }
};

// Owning list of a feature's capabilities (file form: an object array).
class CTerrainCapArray : public TypedObArray<CTerrainCapability>
{
    DECLARE_SERIAL(CTerrainCapArray)
};

// Owning list of a type's capabilities (file form: an object array). The
// names of the kinds a type may carry are not stored in the file.
class CTerrainTypeCapArray : public TypedObArray<CTerrainTypeCapability>
{
    DECLARE_SERIAL(CTerrainTypeCapArray)
public:
    CTerrainTypeCapArray();

    const CStringArray& GetCapabilityNames() const { return m_names; }

private:
    CStringArray m_names;
};
