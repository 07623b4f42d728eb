#pragma once
// The slider (track bar) of a dialog.
//
// This header is free of Qt.

#include "platform/core/Geometry.h"
#include "platform/core/Types.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Wnd.h"

class CSliderCtrl : public CWnd
{
public:
    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    void SetRange(int minPos, int maxPos, BOOL redraw = FALSE);
    void SetRangeMin(int minPos, BOOL redraw = FALSE);
    void SetRangeMax(int maxPos, BOOL redraw = FALSE);
    int GetRangeMin() const;
    int GetRangeMax() const;
    void SetPos(int pos);
    int GetPos() const;
    void SetTicFreq(int freq);
    int SetPageSize(int size);
    int SetLineSize(int size);
    // Moves the thumb as the user would (the parent hears of it).
    void MoveTo(int pos);
    void TakeOverFrom(CWnd& old) override;

protected:
    DWORD m_dwStyle = 0;
};
