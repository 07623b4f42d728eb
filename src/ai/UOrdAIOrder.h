#pragma once
// AI orders: a scripted mission (CUOrdAIOrder) with typed parameters (data
// items), phases (CUOrdAIOrderPhase) that run start orders once and step
// orders every pass, condition-gated bundles of orders
// (CUOrdAIOrderPhaseOrder) and orders handed down to a named force
// (CUOrdAIHierarchyOrder). All four live in order sets and nest freely; they
// have no file of their own and are stored in order-set records.
//
// Here they carry their fields, deep copies, codes, names and records; the
// running of a script is the base order's until the hierarchy that runs it
// exists.
//
// The hierarchy order's contained order is stored without a class tag: its
// class comes from the contained type code's first class bit. The code
// written is always the contained order's own, so the record reads back.

#include "orders/UnitOrder.h"

class CSprite;
class CUnitOrderArray;

class CUOrdAIOrder : public CUnitOrder
{
    DECLARE_SERIAL(CUOrdAIOrder)
public:
    CUOrdAIOrder();
    CUOrdAIOrder(const CUOrdAIOrder& other);
    CUOrdAIOrder& operator=(const CUOrdAIOrder&) = delete;
    ~CUOrdAIOrder() override;

    // Start conditions, data, phases, failure conditions, failure orders,
    // name, second text, graphic name, the echelon, category and type masks
    // (words), third text, no-report flag, excluded-type mask (word).
    void Serialize(CArchive& ar) override;
    CString GetDescription(int, int) override { return m_strName; }
    DWORD GetOrderType() const override { return UORD_AI_ORDER; }
    CString GetOrderName() const override { return "AI Order"; }

    CString m_strName;
    CString m_strText2;
    CString m_strGraphic;
    CUOrdAIOrderDataArray* m_pData;         // owned, never null
    CUnitOrderArray* m_pPhases;             // owned, never null; entry 0 is current
    CConditionArray* m_pFailureConditions;  // owned, never null
    CUnitOrderArray* m_pFailureOrders;      // owned, never null
    int m_nEchelonMask = 0;
    int m_nCategoryMask = 0;
    int m_nTypeMask = 0;
    CString m_strText3;
    BOOL m_bNoReport = FALSE;
    int m_nExcludedTypeMask = 0;
    BOOL m_bGraphicLoaded = FALSE;  // not stored
    CSprite* m_pGraphic = nullptr;  // not stored
    BOOL m_bRestart = FALSE;        // not stored
};

class CUOrdAIOrderPhase : public CUnitOrder
{
    DECLARE_SERIAL(CUOrdAIOrderPhase)
public:
    CUOrdAIOrderPhase();
    CUOrdAIOrderPhase(const CUOrdAIOrderPhase& other);
    CUOrdAIOrderPhase& operator=(const CUOrdAIOrderPhase&) = delete;
    ~CUOrdAIOrderPhase() override;

    // End conditions, start orders, step orders, name, text.
    void Serialize(CArchive& ar) override;
    DWORD GetOrderType() const override { return UORD_AI_PHASE; }
    CString GetOrderName() const override { return "AI Order Phase"; }

    CString m_strName;
    CString m_strText;
    CUnitOrderArray* m_pStartOrders;  // owned, never null
    CUnitOrderArray* m_pStepOrders;   // owned, never null
};

class CUOrdAIOrderPhaseOrder : public CUnitOrder
{
    DECLARE_SERIAL(CUOrdAIOrderPhaseOrder)
public:
    CUOrdAIOrderPhaseOrder();
    CUOrdAIOrderPhaseOrder(const CUOrdAIOrderPhaseOrder& other);
    CUOrdAIOrderPhaseOrder& operator=(const CUOrdAIOrderPhaseOrder&) = delete;
    ~CUOrdAIOrderPhaseOrder() override;

    // Conditions, orders, once flag (word), name.
    void Serialize(CArchive& ar) override;
    DWORD GetOrderType() const override { return UORD_AI_PHASE_ORDER; }
    CString GetOrderName() const override { return "AI Order Phase Order"; }

    CUnitOrderArray* m_pOrders;  // owned, never null
    BOOL m_bOnce = FALSE;
    CString m_strName;
};

class CUOrdAIHierarchyOrder : public CUnitOrder
{
    DECLARE_SERIAL(CUOrdAIHierarchyOrder)
public:
    CUOrdAIHierarchyOrder();
    CUOrdAIHierarchyOrder(const CUOrdAIHierarchyOrder& other);
    CUOrdAIHierarchyOrder& operator=(const CUOrdAIHierarchyOrder&) = delete;
    ~CUOrdAIHierarchyOrder() override;

    // Conditions, data-item names, force name, contained type code (32
    // bits), force type (word), then the contained order's own fields.
    void Serialize(CArchive& ar) override;
    DWORD GetOrderType() const override { return UORD_AI_HIERARCHY; }
    CString GetOrderName() const override { return "AI Hierarchy Order"; }

    CStringArray m_astrDataNames;
    CString m_strForceName;
    CUnitOrder* m_pContained;  // owned; a plain order at creation
    DWORD m_dwContainedType = 0;
    int m_nForceType = 0;
};
