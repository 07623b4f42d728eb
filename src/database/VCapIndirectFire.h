#pragma once
// The capabilities that name munitions by index: the indirect-fire weapon
// (CVCapIndirectFire) and the two ammunition carriers. The indirect-fire
// capability and the IF carrier index the vehicle list's indirect-fire
// ammunition array (CIFAmmoArray); the DF carrier indexes the weapon list.
// An entry whose index names nothing is kept but left off the pages.
//
// Stored forms ("word": signed 16-bit, read back sign-extended; "flag": a
// 0/1 word, any non-zero word reads as set):
//   indirect fire  left limit, right limit, traverse time, compute time,
//                  shot time, time of flight (words); muzzle flash graphics
//                  1 to 3, shot sound (texts); smoke radius, smoke duration
//                  (words); accuracy (float); spare value (word); high
//                  angle (flag); minimum range (word); all-round (flag);
//                  the ammunition entries
//   both carriers  the ammunition entries
// Ammunition entries: a word count, then per entry its index and its
// number of rounds (two words). A negative count, or one the bytes left
// cannot hold, raises the archive exception before anything is read.

#include "database/VehicleCapability.h"

#include <vector>

class CArchive;

// One munition a gun fires or a carrier holds: the index of a munition (or
// of a weapon, for the DF carrier) and a number of rounds.
struct CAmmoEntry
{
    int m_nIndex = 0;
    int m_nNumber = 0;
};
using CAmmoEntryList = std::vector<CAmmoEntry>;

class CVCapIndirectFire : public CVehicleCapability
{
    DECLARE_SERIAL(CVCapIndirectFire)
public:
    // Mils of a full circle, and the mils one traverse step turns.
    static constexpr int kMilsPerCircle = 6400;
    static constexpr int kMilsPerTraverseStep = 100;
    static constexpr int kMilsPerShift = 400;

    CVCapIndirectFire() = default;
    void Serialize(CArchive& ar) override;

    CString WriteHTMLLink(CKDRDatabase* pDatabase) override;
    // Empty without a loaded vehicle list (the munitions come from it).
    CString WriteHTMLPage(CKDRDatabase* pDatabase) override;
    CString GetUnidentifiedName() override { return "Unidentified indirect fire vehicle"; }
    int GetType() override { return VCAP_INDIRECT_FIRE; }
    BOOL CheckGraphics(CString& report, CPieceArray* pPieces) override;
    CString GetName() override { return "Indirect Fire"; }
    BOOL CheckSounds(CString& report) override;

    // The traverse steps the gun needs before it can fire in the direction
    // (mils) from a vehicle on the heading (radians): 0 inside the arc of
    // fire, without limits or when the gun fires all round; else one more
    // than the whole hundreds of mils from the nearer edge of the arc. An
    // arc across north holds every direction from its left edge round to
    // its right edge. A heading that is not a finite number answers 0.
    int GetTraverseSteps(float heading, int direction) const;
    // The shifts a fire mission lays before its first volley toward the
    // azimuth (mils) from a vehicle on the heading (radians): 0 inside the
    // arc (an arc across north included), without limits or all round;
    // else one more than the whole kMilsPerShift from the nearer edge of
    // the arc, counted the shorter way round the circle.
    int GetShiftCount(float heading, int azimuth) const;

    int m_nLeftLimit = kUnset;  // mils from the heading; kUnset: no limit
    int m_nRightLimit = kUnset;
    int m_nTraverseTime = 0;
    int m_nComputeTime = 0;
    int m_nShotTime = 0;
    int m_nTimeOfFlight = 0;
    CString m_strMuzzleFlash[3];  // pieces
    CString m_strShotSound;       // an artillery sound
    int m_nSmokeRadius = 0;
    int m_nSmokeDuration = 0;
    float m_fAccuracy = 1.0f;
    int m_nSpare = 0;  // stored and kept; nothing here reads it
    BOOL m_bHighAngle = FALSE;
    int m_nMinRange = kUnset;  // 0 or less: none
    BOOL m_bAllRound = FALSE;
    CAmmoEntryList m_ammo;  // munitions of the vehicle list's ammunition array

private:
    // The heading in whole mils and the arc's two edges, each in 0..6400;
    // FALSE when the gun has no arc (limits unset, all round, no heading).
    BOOL GetArcEdges(float heading, long long& left, long long& right) const;
};

class CVCapDFAmmoCarrier : public CVehicleCapability
{
    DECLARE_SERIAL(CVCapDFAmmoCarrier)
public:
    CVCapDFAmmoCarrier() = default;
    void Serialize(CArchive& ar) override;

    CString WriteHTMLLink(CKDRDatabase* pDatabase) override;
    // Empty without a loaded weapon list.
    CString WriteHTMLPage(CKDRDatabase* pDatabase) override;
    int GetType() override { return VCAP_DF_AMMO_CARRIER; }
    CString GetName() override { return "DF Ammo Carrier"; }

    CAmmoEntryList m_ammo;  // weapons of the weapon list
};

class CVCapIFAmmoCarrier : public CVCapDFAmmoCarrier
{
    DECLARE_SERIAL(CVCapIFAmmoCarrier)
public:
    CVCapIFAmmoCarrier() = default;

    CString WriteHTMLLink(CKDRDatabase* pDatabase) override;
    // Empty without a loaded vehicle list with its ammunition array.
    CString WriteHTMLPage(CKDRDatabase* pDatabase) override;
    int GetType() override { return VCAP_IF_AMMO_CARRIER; }
    CString GetName() override { return "IF Ammo Carrier"; }
    // m_ammo names munitions of the vehicle list's ammunition array.
};

// The ammunition entries in their stored form (see the header comment).
void SerializeAmmoEntries(CArchive& ar, CAmmoEntryList& entries);
// One row of an ammunition table: the linked name and the number of rounds.
CString MakeAmmoRow(const CString& name, int number);
