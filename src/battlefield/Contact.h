#pragma once
// Contacts: the points where units of the own side met an enemy obstacle or
// chemical area. An enemy obstacle stops a mover of another side only near
// the contacts it has (see Obstacle.h), so a side learns an enemy
// obstacle's extent by running into it; the contacts are drawn into the
// obstacle's picture as markers of the obstacle's kind.

#include "platform/core/Collections.h"
#include "platform/core/Geometry.h"
#include "platform/core/Object.h"
#include "platform/core/Types.h"

class CKDRGameMap;
class CSurface;

class CContact : public CObject
{
    DECLARE_SERIAL(CContact)
public:
    CContact() = default;
    CContact(float x, float y) : m_fX(x), m_fY(y) {}

    // x, y: 4-byte floats.
    void Serialize(CArchive& ar) override;

    // The marker piece of the obstacle type (see MarkerName), centred on the
    // contact, drawn onto the picture of an obstacle that covers rcSprite of
    // the map picture at the current zoom. Nothing for another type or a
    // piece the map's symbols lack.
    void DrawOnSprite(int nObstacleType, const CRect& rcSprite, CSurface* pTarget, const CKDRGameMap* pMap) const;
    // "Mine Contact Green", "Tank Ditch Contact Green", "Road Crater Contact
    // Grey", "Wire Contact Grey", "Chem Contact Purple"; null for any other
    // obstacle type.
    static const char* MarkerName(int nObstacleType);

    float m_fX = 0.0f;
    float m_fY = 0.0f;
};

class CContactArray : public TypedObArray<CContact>
{
    DECLARE_SERIAL(CContactArray)
public:
    // The mean of the contacts; (-99.0, -99.0) when there are none.
    virtual void GetMeanPosition(float& x, float& y) const;
    // Whether a contact lies within `distance` metres of the point (bounds
    // included).
    BOOL HasContactWithin(float x, float y, float distance) const;
};
