#pragma once
// Conversions between the program's own types and Qt's, for the graphical
// half of the platform layer only. Text is kept as Windows-1252 bytes in
// CString, so every crossing into Qt decodes it and every crossing back
// encodes it; characters that Windows-1252 lacks become '?'.

#include "platform/core/CString.h"
#include "platform/core/Geometry.h"
#include "platform/core/Types.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

QString ToQString(const char* text);
inline QString ToQString(const CString& text) { return ToQString(text.GetString()); }
CString FromQString(const QString& text);

inline QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
inline COLORREF FromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

// CRect excludes its right and bottom edge, as QRect's width/height do.
inline QRect ToQRect(const CRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }
inline CRect FromQRect(const QRect& r) { return CRect(r.x(), r.y(), r.x() + r.width(), r.y() + r.height()); }
inline QPoint ToQPoint(const CPoint& p) { return QPoint(p.x, p.y); }
inline CPoint FromQPoint(const QPoint& p) { return CPoint(p.x(), p.y()); }

// A new image of the given size and format, its pixels uninitialised. One
// of a window's size or more lies on large memory pages, where the system
// offers them: whole-image copies, a paint's bulk, then cross fewer page
// boundaries, which the processor's reading ahead stops at.
QImage NewPixelImage(int width, int height, QImage::Format format);
