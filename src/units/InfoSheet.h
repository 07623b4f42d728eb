#pragma once
// The view's modeless unit windows: the unit information sheet ("Unit"),
// the Unit dialog and the hierarchy information sheet ("Hierarchy"). Least
// form: window objects that are never open; the units subsystem replaces
// them with the real windows.

#include "platform/core/Types.h"

class CInfoSheet
{
public:
    virtual ~CInfoSheet() = default;
    BOOL IsOpen() const { return FALSE; }
    void Close() {}
};

class CUnitDlg
{
public:
    virtual ~CUnitDlg() = default;
    BOOL IsOpen() const { return FALSE; }
    void Close() {}
};

class CHierarchyInfoSheet
{
public:
    virtual ~CHierarchyInfoSheet() = default;
    BOOL IsOpen() const { return FALSE; }
    void Close() {}
};
