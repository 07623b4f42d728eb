#pragma once
// The named, typed parameters of an AI order ("data items": an objective, a
// route, a force division ...) and their owning array. Phases, phase orders
// and conditions name items and look them up by name when they run; an item
// holds what the scenario's author set and what it worked out for the unit
// that received the order (Calculate).
//
// Record of every item (its kind's fields follow): the referenced names,
// four flag words (editable, calculate, shown, calculated: a nonzero word
// sets the flag, a zero word leaves it 0), then name, description, prompt.
// The array's record is the object array's: count and class-tagged items.
//
// The kinds are registered with their fields and records (and copies) so
// that every order file loads; what each kind works out is the base's here.

#include "platform/core/CString.h"
#include "platform/core/Collections.h"

class CHierarchyArray;
class CHierarchyPlatoon;
class CKDRDatabase;
class CKDRGameMap;
class CKDRObstacles;
class CKDRUnits;
class CPropertyPage;
class CHierarchyArray;
class CUOrdAIOrderDataArray;
class CUOrdAIOrderDataDivideForce;

// Kind bits.
constexpr DWORD AIDATA_OBJECTIVE = 1;
constexpr DWORD AIDATA_DIVIDE_FORCE = 2;
constexpr DWORD AIDATA_OBSTACLE_LINE = 4;
constexpr DWORD AIDATA_MODE_OF_TRAVEL = 8;
constexpr DWORD AIDATA_ROUTE = 16;
constexpr DWORD AIDATA_FORMATION = 32;
constexpr DWORD AIDATA_ORP = 64;
constexpr DWORD AIDATA_FORCE_PERCENTAGE = 128;
constexpr DWORD AIDATA_TIME = 256;
constexpr DWORD AIDATA_IF_POSITION_AREA = 512;
constexpr DWORD AIDATA_SBF_LOCATION = 1024;
constexpr DWORD AIDATA_NUMBER_OF_VEHICLES = 2048;
constexpr DWORD AIDATA_BREACH_LANE = 4096;
constexpr DWORD AIDATA_SPECIFIED_FORCE = 8192;
constexpr DWORD AIDATA_COMMON_WEAPON_RANGE = 16384;

class CUOrdAIOrderData : public CObject
{
    DECLARE_SERIAL(CUOrdAIOrderData)
public:
    CUOrdAIOrderData() = default;
    CUOrdAIOrderData(const CUOrdAIOrderData& other) = default;
    CUOrdAIOrderData& operator=(const CUOrdAIOrderData& other) = default;

    void Serialize(CArchive& ar) override;

    // ---- Virtual operations in their slot order ----
    virtual BOOL FinishEditOnMap(CKDRGameMap* pTarget, CKDRUnits* pUnits, int nValue, CHierarchyPlatoon* pElement,
                                 float x, float y, BOOL* pPlaceAgain, BOOL* pEndEdit);
    virtual BOOL EditOnMap(CKDRGameMap* pTarget, CKDRUnits* pUnits, int nValue, CHierarchyPlatoon* pElement, float x,
                           float y);
    // The base walks the referenced names: each named item is calculated
    // first (once; an item whose walk is under way counts as calculated)
    // and then applied; the item is calculated afterwards.
    virtual BOOL Calculate(CUOrdAIOrderDataArray* pArray, CHierarchyPlatoon* pElement, CKDRUnits* pUnits,
                           CKDRObstacles* pObstacles, CKDRDatabase* pDatabase, CKDRGameMap* pMap, BOOL bRecalculate);
    virtual BOOL TakeFromParent(CUOrdAIOrderDataArray* pArray, CUOrdAIOrderData* pParent,
                                CHierarchyPlatoon* pSubordinate, int nValue, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                                CKDRObstacles* pObstacles, CKDRGameMap* pMap, int* pOut);
    virtual void Draw(CKDRGameMap* pTarget, CHierarchyPlatoon* pElement, int nValue, CKDRUnits* pUnits);
    virtual void GetCentre(float* pX, float* pY);
    virtual BOOL ApplyReference(CUOrdAIOrderData* pReferenced, CUOrdAIOrderDataArray* pArray,
                                CHierarchyPlatoon* pElement, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                                CKDRGameMap* pMap, BOOL bRecalculate);
    virtual DWORD GetType() const { return 0; }
    virtual CPropertyPage* CreatePage(int nValue1, int nValue2);
    virtual void ReadPage(CPropertyPage* pPage);
    virtual BOOL AssignFrom(const CUOrdAIOrderData* pOther);
    virtual void Notify(CKDRGameMap* pTarget, CKDRUnits* pUnits, int nValue, CHierarchyPlatoon* pElement, float x,
                        float y);
    virtual CString GetTypeName() const { return CString(); }

    // A copy in a new object of the class the item's kind names; a plain
    // item for an unknown kind; null for null.
    static CUOrdAIOrderData* CopyItem(const CUOrdAIOrderData* pItem);
    // The vehicle role flags of an editor unit-type mask.
    static DWORD ForceTypesToRoleFlags(DWORD dwUnitTypes);
    // A new group (the caller's) of the units a force stands for: the
    // division's groups that the mask selects, else the named platoon or
    // company, else the side's whole hierarchy, else the fallback element;
    // with role flags above 0 only the vehicles of those roles, held
    // directly. The units component's own hierarchies are never changed.
    // Null when none of them is there (ResolveForce.cpp).
    static CHierarchyArray* ResolveForce(CUOrdAIOrderDataDivideForce* pDivideForce, CKDRUnits* pUnits,
                                         CKDRDatabase* pDatabase, CHierarchyPlatoon* pFallback, int nGroupMask,
                                         int nRoleFlags, const CString& forceName, int nSide);

    BOOL m_bEditable = FALSE;
    BOOL m_bShown = FALSE;
    BOOL m_bCalculate = FALSE;
    CString m_strName;
    CString m_strDescription;
    CString m_strPrompt;
    CStringArray m_astrReferencedNames;
    BOOL m_bCalculated = FALSE;

private:
    BOOL m_bCalculating = FALSE;  // breaks cycles of items naming each other
};

class CUOrdAIOrderDataArray : public TypedObArray<CUOrdAIOrderData>
{
    DECLARE_SERIAL(CUOrdAIOrderDataArray)
public:
    CUOrdAIOrderDataArray();
    // Each item copied into a new object of its kind's class.
    CUOrdAIOrderDataArray(const CUOrdAIOrderDataArray& other);
    CUOrdAIOrderDataArray& operator=(const CUOrdAIOrderDataArray&) = delete;

    CUOrdAIOrderData* FindByName(const CString& name) const;
    // The named item's map editing; 0 (outs untouched) when no item has
    // the name (ResolveForce.cpp).
    BOOL EditOnMap(const CString& name, CKDRGameMap* pTarget, CKDRUnits* pUnits, int nValue,
                   CHierarchyPlatoon* pElement, float x, float y);
    BOOL FinishEditOnMap(const CString& name, CKDRGameMap* pTarget, CKDRUnits* pUnits, int nValue,
                         CHierarchyPlatoon* pElement, float x, float y, BOOL* pPlaceAgain, BOOL* pEndEdit);
    void Notify(const CString& name, CKDRGameMap* pTarget, CKDRUnits* pUnits, int nValue, CHierarchyPlatoon* pElement,
                float x, float y);
    // The first item of a kind; null.
    CUOrdAIOrderData* FindByType(DWORD dwKind) const;
    void GetShownNames(CStringArray& names) const;
    BOOL CalculateAll(CHierarchyPlatoon* pElement, CKDRUnits* pUnits, CKDRObstacles* pObstacles,
                      CKDRDatabase* pDatabase, CKDRGameMap* pMap, BOOL bContext6, BOOL bRecalculate);
    void DrawAll(CKDRGameMap* pTarget, CHierarchyPlatoon* pElement, int nValue, CKDRUnits* pUnits);
    // Each item of other gives its author-set values to its namesake of the
    // same kind; 0 for a null array or when an item refuses.
    BOOL AssignFrom(const CUOrdAIOrderDataArray* pOther);

    // The fifteen kind names, bit 1 first; not stored.
    CStringArray m_astrKindNames;
};
