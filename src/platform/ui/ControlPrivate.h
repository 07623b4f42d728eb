#pragma once
// Internals shared by the dialog and its controls.

#include "platform/core/CString.h"
#include "platform/ui/QtBridge.h"
#include "platform/ui/Wnd.h"

#include <QObject>
#include <QString>
#include <QWidget>

// Control texts break lines with "\r\n", Qt with "\n".
inline QString ToMultiline(const CString& text)
{
    QString s = ToQString(text);
    s.remove(QLatin1Char('\r'));
    return s;
}

// The control a widget is bound to now: a member control may have taken
// the widget over after the connection was made, so handlers look it up.
template <class T>
T* Owner(QObject* w)
{
    return dynamic_cast<T*>(CWnd::FromWidget(qobject_cast<QWidget*>(w)));
}

// Tells the control's parent of a notification: a dialog through
// OnCommand, another window through SendNotify.
void NotifyParent(QObject* w, UINT code);
