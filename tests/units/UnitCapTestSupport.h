#pragma once
// What the capability tests share besides the unit tests' own support:
// vehicle types built from capability kinds, and archive fixtures laid out
// by hand with their class tags.

#include "UnitTestSupport.h"
#include "app/ScenarioBytes.h"

#include "database/VCapKinds.h"
#include "database/VCapTurret.h"
#include "database/Vehicle.h"
#include "platform/core/Core.h"

#include <cstring>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

// A vehicle type holding the capabilities (it takes them).
inline CVehicle* MakeVehicleWith(std::initializer_list<CVehicleCapability*> caps)
{
    auto* pVehicle = new CVehicle;
    for (CVehicleCapability* pCap : caps)
        pVehicle->GetCapabilities()->Add(pCap);
    return pVehicle;
}

// A vehicle turret holding the capabilities (it takes them).
inline CVCapTurret* MakeTurretWith(std::initializer_list<CVehicleCapability*> caps)
{
    auto* pTurret = new CVCapTurret;
    for (CVehicleCapability* pCap : caps)
        pTurret->GetCapabilities()->Add(pCap);
    return pTurret;
}

// Writes class tags as the archive numbers them: a class met for the first
// time takes one index and its object the next; a later object of the
// class takes one index and names the class by its index.
class CTagWriter
{
public:
    explicit CTagWriter(CScenarioBytes& b) : m_b(b) {}
    CScenarioBytes& Object(const char* className)
    {
        auto it = m_classes.find(className);
        if (it == m_classes.end())
        {
            m_classes[className] = m_next;
            m_next += 2;
            return m_b.Word(0xFFFF).Word(1).Word(static_cast<unsigned>(std::strlen(className))).Chars(className);
        }
        ++m_next;
        return m_b.Word(0x8000 | it->second);
    }
    // An empty slot.
    CScenarioBytes& Null() { return m_b.Word(0); }

private:
    CScenarioBytes& m_b;
    std::map<std::string, unsigned> m_classes;
    unsigned m_next = 1;
};

constexpr unsigned UNSET_WORD = 0xFF9D;  // -99
