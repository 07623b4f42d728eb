#pragma once
// CCarriedUnit: one dismounted team aboard a personnel carrier, named by the
// address the units component finds it at (CKDRUnits::GetUnit): its unit
// index, its array index and the kind of that array (0 the side's own
// array, 1 and 2 the two lists). The carrier capability keeps them in
// boarding order.
//
// Stored form: the three values as signed 16-bit words, in that order, read
// back sign-extended.

#include "platform/core/Object.h"

class CCarriedUnit : public CObject
{
    DECLARE_SERIAL(CCarriedUnit)
public:
    CCarriedUnit() = default;
    CCarriedUnit(int nUnit, int nArray, int nKind) : m_nUnit(nUnit), m_nArray(nArray), m_nKind(nKind) {}
    CCarriedUnit(const CCarriedUnit& other)
        : CObject(), m_nUnit(other.m_nUnit), m_nArray(other.m_nArray), m_nKind(other.m_nKind)
    {
    }
    CCarriedUnit& operator=(const CCarriedUnit&) = default;

    void Serialize(CArchive& ar) override;

    int m_nUnit = 0;
    int m_nArray = 0;
    int m_nKind = 0;
};
