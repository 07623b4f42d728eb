#pragma once
// What the equipment tests share: archive fixtures laid out by hand (class
// tags included), lists written to the data directory through their own
// Serialize for the tests that are about something else than the layout,
// small weapon and vehicle builders, the page templates, and capability
// kinds of the tests' own that answer what a test sets.

#include "DatabaseTestSupport.h"
#include "app/ScenarioBytes.h"

#include "database/KillPercentage.h"
#include "database/Vehicle.h"
#include "database/VehicleArray.h"
#include "database/VehicleCapability.h"
#include "database/VehicleWeapon.h"
#include "database/Weapon.h"
#include "platform/core/Core.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

// Class tags of the archive: a class met for the first time, and one met
// before by its index.
inline CScenarioBytes& NewClass(CScenarioBytes& b, const char* name)
{
    return b.Word(0xFFFF).Word(1).Word(static_cast<unsigned>(std::strlen(name))).Chars(name);
}
inline CScenarioBytes& OldClass(CScenarioBytes& b, unsigned index) { return b.Word(0x8000 | index); }

inline std::vector<BYTE> StoreBytes(CObject& object)
{
    CMemFile out;
    CArchive ar(&out, CArchive::store);
    object.Serialize(ar);
    ar.Close();
    return out.GetData();
}

inline CWeapon* MakeWeapon(const char* name, int penetration, int range = 200)
{
    auto* pWeapon = new CWeapon;
    pWeapon->m_strName = name;
    pWeapon->m_nPenetration = penetration;
    pWeapon->m_nRange = range;
    return pWeapon;
}

inline CVehicleWeapon* MakeMount(int weapon, int ammo = 0)
{
    auto* pMount = new CVehicleWeapon;
    pMount->m_nWeapon = weapon;
    pMount->m_nAmmo = ammo;
    return pMount;
}

// A vehicle with mounts of the given weapons and one kill record per entry
// of kills (front only; the others 0).
inline CVehicle* MakeVehicle(const char* name, std::initializer_list<int> mounts, std::initializer_list<int> kills)
{
    auto* pVehicle = new CVehicle;
    pVehicle->m_strName = name;
    for (int weapon : mounts)
        pVehicle->GetChassisMounts()->Add(MakeMount(weapon));
    for (int front : kills)
        pVehicle->GetKillPercentages()->Add(new CWeaponPercentages(front, 0, 0, 0, 0));
    return pVehicle;
}

// Writes a list into the data directory through its own Serialize.
inline void WriteList(CDatabaseTestApp& t, const char* fileName, CObject& list)
{
    const std::vector<BYTE> bytes = StoreBytes(list);
    t.WriteText(t.DataDir() / fileName, std::string(bytes.begin(), bytes.end()));
}

inline void WriteWeaponList(CDatabaseTestApp& t, const char* fileName, std::initializer_list<const char*> names)
{
    CWeaponArray weapons;
    weapons.m_strFileName = fileName;
    int penetration = 1;
    for (const char* name : names)
        weapons.Add(MakeWeapon(name, penetration++));
    WriteList(t, fileName, weapons);
}

// The page templates, each small and with every tag its page fills.
inline void WriteTemplates(CDatabaseTestApp& t)
{
    t.WriteText(t.DataDir() / "index.htm",
                "<HTML><HEAD><TITLE>Index</TITLE></HEAD><BODY><H2>Vehicles</H2>*vehicleList*<H2>Ammunition</H2>"
                "*ammoList*<H2>Weapons</H2>*weaponList*</BODY></HTML>");
    t.WriteText(t.DataDir() / "vehicle.htm",
                "<HTML><HEAD><TITLE>*name*</TITLE></HEAD><BODY><IMG SRC=\"*picture*\">"
                "<P>speed *speed* sprint *sprint* reverse *reverse* turn *turnSpeed*/*turnRadius* view *viewRange* "
                "move *timeToMove* defilade *timeToDefilade* size *height* *length* *width* weight *weight*</P>"
                "<P>values *targetValue* *threatValue* *protectionValue* nbc *nbcDetectValue* "
                "he *HE* dpicm *DPICM* nuke *nuke* pgm *pgm* chem *chem*</P>"
                "<H2>All</H2>*totalWeapons*<H2>Chassis</H2>*chasisWeapons*<H2>Kills</H2>*percentKillArray*"
                "<H2>Capabilities</H2>*attributeList**attributes*</BODY></HTML>");
    t.WriteText(t.DataDir() / "weapon.htm",
                "<HTML><HEAD><TITLE>*name*</TITLE></HEAD><BODY><P>range *range* penetration *penetration* "
                "fire *timeToFire*/*roundsPerFire* reload *timeToReload*/*roundsToReload* magnification "
                "*magnification*</P>*attributeList**attributes*</BODY></HTML>");
    t.WriteText(t.DataDir() / "vehicleWeaponArray.htm", "<HTML><BODY><TABLE>*weapons*</TABLE></BODY></HTML>");
    t.WriteText(t.DataDir() / "percentKillArray.htm", "<HTML><BODY><TABLE>*weapons*</TABLE></BODY></HTML>");
    t.WriteText(t.DataDir() / "timeOfFlight.htm", "<HTML><BODY>[flight *speed* seeks *seekYesNo*]</BODY></HTML>");
    t.WriteText(t.DataDir() / "minRange.htm", "<HTML><BODY>[minimum *minRange*]</BODY></HTML>");
    t.WriteText(t.DataDir() / "ada.htm", "<HTML><BODY>[ada *rotaryWingBonus* *fixedWingBonus*]</BODY></HTML>");
}

// A capability kind of the tests: it answers the type, name, sight,
// volume and check lines it is given, and may contain others as a turret
// does.
class CTestCapability : public CVehicleCapability
{
public:
    explicit CTestCapability(int type, const char* unidentified = "", int sight = 0, float volume = 0.0f)
        : m_nType(type), m_strUnidentified(unidentified), m_nSight(sight), m_fVolume(volume)
    {
    }
    ~CTestCapability() override
    {
        for (CVehicleCapability* pInside : m_inside)
            delete pInside;
    }

    int GetType() override { return m_nType; }
    int GetTypeMask() override
    {
        int nMask = m_nType;
        for (CVehicleCapability* pInside : m_inside)
            nMask |= pInside->GetTypeMask();
        return nMask;
    }
    CVehicleCapability* FindCapability(int type) override
    {
        for (CVehicleCapability* pInside : m_inside)
        {
            if (pInside->GetType() == type)
                return pInside;
        }
        return nullptr;
    }
    CString GetUnidentifiedName() override { return m_strUnidentified; }
    int GetSightPercent(BOOL) override { return m_nSight; }
    float GetVolume() override { return m_fVolume; }
    BOOL CheckGraphics(CString& report, CPieceArray*) override
    {
        if (m_strGraphicLine.IsEmpty())
            return FALSE;
        report += m_strGraphicLine;
        return TRUE;
    }

    CTestCapability* Contain(CVehicleCapability* pInside)
    {
        m_inside.push_back(pInside);
        return this;
    }

    int m_nType;
    CString m_strUnidentified;
    int m_nSight;
    float m_fVolume;
    CString m_strGraphicLine;
    std::vector<CVehicleCapability*> m_inside;
};
