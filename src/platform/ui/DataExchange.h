#pragma once
// Data exchange between a dialog's controls and its members: the DDX_
// calls fill or read a control, the DDV_ calls check what was read (see
// Dialog.h for when each runs).
//
// This header is free of Qt.

#include "platform/core/CString.h"
#include "platform/core/Types.h"
#include "platform/ui/Wnd.h"

// ---- Data exchange ----
// Thrown by CDataExchange::Fail; UpdateData catches it.
struct CUserException
{
};

class CDataExchange
{
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
    CWnd* PrepareCtrl(UINT id);
    CWnd* PrepareEditCtrl(UINT id);
    [[noreturn]] void Fail();  // puts the focus on the last control and ends the exchange

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    UINT m_idLastControl = 0;
    bool m_bEditLastControl = false;
};

void DDX_Text(CDataExchange* pDX, UINT id, CString& value);
void DDX_Text(CDataExchange* pDX, UINT id, int& value);
void DDX_Text(CDataExchange* pDX, UINT id, UINT& value);
void DDX_Text(CDataExchange* pDX, UINT id, float& value);
void DDX_Text(CDataExchange* pDX, UINT id, double& value);
void DDX_Check(CDataExchange* pDX, UINT id, int& value);
void DDX_Radio(CDataExchange* pDX, UINT firstId, int& value);  // index in the group, -1 none
void DDX_LBIndex(CDataExchange* pDX, UINT id, int& index);
void DDX_LBString(CDataExchange* pDX, UINT id, CString& value);
void DDX_LBStringExact(CDataExchange* pDX, UINT id, CString& value);
void DDX_CBIndex(CDataExchange* pDX, UINT id, int& index);
void DDX_CBString(CDataExchange* pDX, UINT id, CString& value);
void DDX_CBStringExact(CDataExchange* pDX, UINT id, CString& value);
void DDX_Slider(CDataExchange* pDX, UINT id, int& value);
void DDX_Control(CDataExchange* pDX, UINT id, CWnd& control);
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int maxChars);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minValue, int maxValue);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minValue, UINT maxValue);
void DDV_MinMaxLong(CDataExchange* pDX, LONG value, LONG minValue, LONG maxValue);
void DDV_MinMaxFloat(CDataExchange* pDX, float value, float minValue, float maxValue);
void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minValue, double maxValue);
