#pragma once
// The orders a path node carries: stop there, wait until a start time,
// switch a unit toggle on or off, or change formation (CNodeOrder and its
// four kinds), and the per-node list that keeps at most one order of each
// kind and one toggle order per toggle (CNodeOrderArray).
//
// Node orders are stored inside their node's record (see CNode): a class
// tag, then the kind's fields. Loading does not load icons: a toggle or
// formation order read from a file shows the start-time icon it was built
// with until a deep copy (which loads its own icons) replaces it. A missing
// icon leaves the sprite null and draws nothing.

#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Time.h"

class CArchive;
class CKDRGameMap;
class CSprite;

// Node-order type codes: bits, so that the codes of one node can be ORed.
constexpr UINT NORD_STOP = 0x1;
constexpr UINT NORD_START_TIME = 0x2;
constexpr UINT NORD_TOGGLE = 0x4;
constexpr UINT NORD_FORMATION = 0x8;
// The bit of CNodeOrder::TestStart's answer: the start time was reached.
constexpr int NORD_START_REACHED = 2;

// A start time that the game clock never reaches (999 days): a node holds
// its mover until the player edits the node.
constexpr LONG START_TIME_NEVER = 86313600;
// The start time stored for a stop without a start time of its own (999
// days 9:09:09); callers ask for it by passing START_TIME_HOLD_REQUEST.
constexpr LONG START_TIME_HOLD = 86346549;
constexpr LONG START_TIME_HOLD_REQUEST = 999;

// The formation name of support by fire, which is not a template.
extern const char* const SUPPORT_BY_FIRE_NAME;

// A named frame of the application's symbol catalogue as a new sprite keyed
// on magenta; null when no catalogue list names it or its sheet is missing.
CSprite* LoadCatalogueSprite(const CString& name);
// Places a sprite on the map point (map metres) and draws it on the back
// surface; nothing without a map, a picture or a display.
void DrawSpriteAtMapPoint(CSprite* pSprite, float x, float y, CKDRGameMap* pMap);

class CNodeOrder : public CObject
{
    DECLARE_SERIAL(CNodeOrder)
public:
    CNodeOrder() = default;

    // Draws the order's icon at a map point; the base draws nothing.
    virtual void DrawIcon(float x, float y, CKDRGameMap* pMap, BOOL bShowStartTime);
    // Receives the path's start-times-enabled flag; no kind acts on it.
    virtual void EnableStartTime(BOOL bEnabled);
    // NORD_START_REACHED when the order's start time has come, else 0.
    virtual int TestStart(CTimeSpan tsNow, CObject* pContext);
    virtual UINT GetType() const { return 0; }
    virtual CString GetName() const { return CString(); }
};

class CNOrdStop : public CNodeOrder
{
    DECLARE_SERIAL(CNOrdStop)
public:
    UINT GetType() const override { return NORD_STOP; }
    CString GetName() const override { return "Stop"; }
};

class CNOrdStartTime : public CNodeOrder
{
    DECLARE_SERIAL(CNOrdStartTime)
public:
    // Time 0 with the "Start Time Icon".
    CNOrdStartTime();
    explicit CNOrdStartTime(CTimeSpan tsStart);
    ~CNOrdStartTime() override;
    CNOrdStartTime(const CNOrdStartTime&) = delete;
    CNOrdStartTime& operator=(const CNOrdStartTime&) = delete;

    void Serialize(CArchive& ar) override;
    void DrawIcon(float x, float y, CKDRGameMap* pMap, BOOL bShowStartTime) override;
    int TestStart(CTimeSpan tsNow, CObject* pContext) override;
    UINT GetType() const override { return NORD_START_TIME; }
    CString GetName() const override { return "Start Time"; }

    CSprite* GetIcon() const { return m_pIcon; }

    CTimeSpan m_tsStart;

protected:
    // Deletes the previous icon and loads the named one.
    void LoadIcon(const CString& name);

    CSprite* m_pIcon = nullptr;
    BOOL m_bIconLoaded = FALSE;
};

class CNOrdToggleOrder : public CNOrdStartTime
{
    DECLARE_SERIAL(CNOrdToggleOrder)
public:
    CNOrdToggleOrder() = default;
    ~CNOrdToggleOrder() override;

    // Record: the start time, then the toggle code, on and off as words.
    void Serialize(CArchive& ar) override;
    void DrawIcon(float x, float y, CKDRGameMap* pMap, BOOL bShowStartTime) override;
    // A toggle order never releases a stop, although it carries a time.
    int TestStart(CTimeSpan tsNow, CObject* pContext) override;
    UINT GetType() const override { return NORD_TOGGLE; }
    CString GetName() const override { return "Toggle Order"; }
    virtual void LoadIcons();

    // Stores the code; bOn switches the toggle on (else off); loads the icons.
    void SetToggle(DWORD dwCode, BOOL bOn);
    CSprite* GetTurnOffIcon() const { return m_pTurnOffIcon; }

    DWORD m_dwToggle = 0;  // a unit toggle bit, 2 to 16384
    BOOL m_bOn = FALSE;
    BOOL m_bOff = FALSE;

private:
    CSprite* m_pTurnOffIcon = nullptr;
    BOOL m_bTurnOffLoaded = FALSE;
};

class CNOrdFormationOrder : public CNOrdStartTime
{
    DECLARE_SERIAL(CNOrdFormationOrder)
public:
    CNOrdFormationOrder() = default;

    // Record: the start time, the formation name, the icon name.
    void Serialize(CArchive& ar) override;
    void DrawIcon(float x, float y, CKDRGameMap* pMap, BOOL bShowStartTime) override;
    int TestStart(CTimeSpan tsNow, CObject* pContext) override;
    UINT GetType() const override { return NORD_FORMATION; }
    CString GetName() const override { return "Formation Order"; }
    virtual void LoadIcons();

    CString m_strFormation;  // a template name, or SUPPORT_BY_FIRE_NAME
    CString m_strIcon;       // the icon piece; filled by LoadIcons when empty
};

// The single unit toggle bits 2 .. 16384: the value itself, else -1.
int IsToggleBit(DWORD dwValue);
// The node icon of a toggle code; empty for a code without an icon.
CString GetToggleIconName(DWORD dwCode);

// The orders of one node. Add keeps at most one order of each type code
// 1, 2 and 8 and at most one toggle order per toggle code.
class CNodeOrderArray : public TypedObArray<CNodeOrder>
{
    DECLARE_SERIAL(CNodeOrderArray)
public:
    CNodeOrderArray();
    // Deep copy: each order cloned by its type (icons loaded) through Add.
    CNodeOrderArray(const CNodeOrderArray& other);

    // Takes ownership; removes what conflicts first; answers the index.
    virtual int Add(CNodeOrder* pOrder);
    // A default stop (1), start time 0 (2) or empty formation order (8)
    // when no order of that type bit exists; other types add nothing.
    void AddOrderOfType(UINT nType);
    void RemoveOfType(UINT nType);
    CNodeOrder* FindOfType(UINT nType) const;
    // The first toggle order whose code shares a bit with dwCode; kUnset.
    int FindToggle(DWORD dwCode) const;
    UINT GetTypes() const;
    void AppendCopies(const CNodeOrderArray& source);
    // The start-time test of one node: reached start times and then the
    // node's stops are deleted; TRUE when a start time was reached.
    BOOL UpdateStartTimes(CTimeSpan tsNow, CObject* pContext);

    // A clone of one order by its type; null for a null order.
    static CNodeOrder* CloneOrder(const CNodeOrder* pOrder);

    // "Stop", "Start Time", "Toggle Order", "Formation Order"; not stored.
    CStringArray m_astrNames;
};
