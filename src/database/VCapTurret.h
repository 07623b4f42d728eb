#pragma once
// CVCapTurret: a turret on a vehicle type: its own weapon mounts, its own
// kill-percentage table (indexed by weapon, not fitted to the weapon list,
// so rows past its end are kept but not shown), and capabilities mounted on
// it, such as an observer's sight. Everything that asks a vehicle for its
// abilities, weapons, sight or size looks inside the turret too.
//
// Stored form: the mounts, the kill table and the contained capabilities
// (each in its own form), then turn speed, right limit, left limit (words),
// height, width, length (floats), piece graphic (text), spare flag (a 0/1
// word). A turret may hold a turret, but a file nesting them more than
// kMaxNesting deep is refused with the archive exception, so a crafted
// list cannot exhaust the stack.

#include "database/VehicleCapability.h"

class CKillPercentageArray;

class CVCapTurret : public CVehicleCapability
{
    DECLARE_SERIAL(CVCapTurret)
public:
    // The deepest turret-in-turret nesting a list file may hold.
    static constexpr int kMaxNesting = 8;

    CVCapTurret();
    ~CVCapTurret() override;
    CVCapTurret(const CVCapTurret&) = delete;
    CVCapTurret& operator=(const CVCapTurret&) = delete;

    void Serialize(CArchive& ar) override;

    // The turret's line, then its contents' lines (none when it holds none).
    CString WriteHTMLLink(CKDRDatabase* pDatabase) override;
    // Empty without a loaded weapon list; the contents' sections follow.
    CString WriteHTMLPage(CKDRDatabase* pDatabase) override;
    // Its own mounts, then those of its contents.
    void AddWeapons(CVehicleWeaponArray* pList, CKDRDatabase* pDatabase) override;
    void DrawRangeArcs(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap* pMap) override;
    CVehicleCapability* FindCapability(int type) override;
    int GetType() override { return VCAP_TURRET; }
    int GetTypeMask() override;
    float GetVolume() override { return m_fHeight * m_fWidth * m_fLength; }
    // The best of its contents and its mounts, never below 0.
    int GetSightPercent(BOOL bInfrared) override;
    BOOL CheckGraphics(CString& report, CPieceArray* pPieces) override;
    CString GetName() override { return "Turret"; }
    BOOL CheckSounds(CString& report) override;

    CVehicleWeaponArray* GetMounts() const { return m_pMounts; }
    CKillPercentageArray* GetKillPercentages() const { return m_pKillPercentages; }
    CVehicleCapArray* GetCapabilities() const { return m_pCapabilities; }

    int m_nTurnSpeed = 0;
    int m_nRightLimit = kUnset;  // mils; kUnset: none
    int m_nLeftLimit = kUnset;
    float m_fHeight = 1.0f;  // metres
    float m_fWidth = 1.0f;
    float m_fLength = 1.0f;
    CString m_strPiece;     // the turret symbol's piece
    BOOL m_bSpare = FALSE;  // stored and kept; nothing here reads it

private:
    CVehicleWeaponArray* m_pMounts;            // owned
    CKillPercentageArray* m_pKillPercentages;  // owned
    CVehicleCapArray* m_pCapabilities;         // owned
};
