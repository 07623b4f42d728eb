#pragma once
// The twenty bitmaps of the symbol catalogue, drawn for the demo: clear
// NATO-style markers on the transparent magenta, laid out as the catalogue
// table gives them (app/SymbolCatalogue.h), one 32 x 32 pixel frame per
// member or animation step, 64 x 64 for the unit symbols; the three clouds
// are single 96 x 96 frames.
//
// The 36-frame sheets turn their symbol in steps of 10 degrees: frame k
// points k x 10 degrees clockwise from north. The 10-frame markers pulse.
// Drawing is without smoothing, so that every pixel is either the magenta
// key or a colour of the symbol.

#include "app/SymbolCatalogue.h"
#include "platform/core/Core.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>

#include <cmath>

namespace demo_symbols
{
constexpr int kFrameSize = 32;
constexpr int kCloudSize = 96;
const QColor kKey(255, 0, 255);

// The unit symbols (the NATO frames, the unidentified contacts' icons and
// the unknown shapes turned to a heading) are drawn at the size of the demo's
// unit pictures (demo_pieces.h), which the view shows at a fraction of it.
constexpr int kUnitSymbolSize = 64;

inline bool IsUnitSymbolSheet(const SymbolCatalogueEntry& entry)
{
    const QString name = entry.pszName;
    return name == "Nato Markers" || name == "Unidentified Nato Icons" || name.startsWith("Unknown ");
}

inline int FrameSizeOf(const SymbolCatalogueEntry& entry)
{
    if (entry.nFrames == 1)
        return kCloudSize;
    return IsUnitSymbolSheet(entry) ? kUnitSymbolSize : kFrameSize;
}

// The colour a name ends with; the NATO frames carry their side's colour.
inline QColor NamedColour(const QString& name)
{
    struct Named
    {
        const char* word;
        QColor colour;
    };
    static const Named named[] = {
        {"Light Blue", QColor(120, 190, 255)},
        {"Light Yellow", QColor(255, 246, 150)},
        {"Red", QColor(215, 30, 30)},
        {"Grey", QColor(120, 120, 120)},
        {"Green", QColor(0, 150, 0)},
        {"Blue", QColor(30, 80, 220)},
        {"Yellow", QColor(235, 200, 0)},
        {"Purple", QColor(140, 40, 170)},
        {"Black", QColor(0, 0, 0)},
        {"Orange", QColor(240, 130, 0)},
    };
    for (const Named& n : named)
    {
        if (name.endsWith(n.word))
            return n.colour;
    }
    return QColor(0, 0, 0);
}

inline QPen Pen(const QColor& colour, double width = 2)
{
    QPen pen(colour, width);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

// The formation patterns: dot positions on a 5 x 5 grid of the cell.
inline void DrawFormation(QPainter& p, const QString& name, const QColor& c)
{
    struct Pattern
    {
        const char* word;
        std::initializer_list<QPointF> dots;
    };
    static const Pattern patterns[] = {
        {"Staggered Column", {{1.5, 0}, {2.5, 1}, {1.5, 2}, {2.5, 3}, {1.5, 4}}},
        {"Column", {{2, 0}, {2, 1}, {2, 2}, {2, 3}, {2, 4}}},
        {"Wedge", {{2, 0.5}, {1, 1.5}, {3, 1.5}, {0, 2.5}, {4, 2.5}}},
        {"Echelon Right", {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}},
        {"Echelon Left", {{4, 0}, {3, 1}, {2, 2}, {1, 3}, {0, 4}}},
        {"Vee", {{0, 0.5}, {4, 0.5}, {1, 1.5}, {3, 1.5}, {2, 2.5}}},
        {"Y", {{0, 0}, {4, 0}, {1, 1}, {3, 1}, {2, 2}, {2, 3}, {2, 4}}},
        {"Line", {{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}}},
        {"Diamond", {{2, 0}, {0, 2}, {4, 2}, {2, 4}}},
        {"Box", {{0, 0}, {4, 0}, {0, 4}, {4, 4}}},
        {"Support By Fire", {{0, 3}, {1, 3}, {2, 3}, {3, 3}, {4, 3}}},
        {"Position Area", {}},
    };
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    for (const Pattern& pattern : patterns)
    {
        if (!name.contains(pattern.word))
            continue;
        for (const QPointF& d : pattern.dots)
            p.drawRect(QRectF(4 + d.x() * 5, 4 + d.y() * 5, 4, 4));
        if (QString(pattern.word) == "Support By Fire")
        {
            p.setPen(Pen(c));
            p.drawLine(QPointF(16, 14), QPointF(16, 4));
            p.drawLine(QPointF(12, 8), QPointF(16, 4));
            p.drawLine(QPointF(20, 8), QPointF(16, 4));
        }
        if (QString(pattern.word) == "Position Area")
        {
            p.setPen(Pen(c));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(5, 8, 22, 16));
            p.drawLine(QPointF(5, 8), QPointF(27, 24));
        }
        return;
    }
}

inline void DrawArrow(QPainter& p, const QColor& c, QPointF from, QPointF to)
{
    p.setPen(Pen(c));
    p.drawLine(from, to);
    const double a = std::atan2(to.y() - from.y(), to.x() - from.x());
    const QPointF left(to.x() - 6 * std::cos(a - 0.5), to.y() - 6 * std::sin(a - 0.5));
    const QPointF right(to.x() - 6 * std::cos(a + 0.5), to.y() - 6 * std::sin(a + 0.5));
    p.setBrush(c);
    p.drawPolygon(QPolygonF({to, left, right}));
}

// One marker of the unit or path lists, chosen by the words of its name.
inline void DrawMarker(QPainter& p, const QString& name, bool small = false)
{
    const QColor c = NamedColour(name);
    p.setBrush(Qt::NoBrush);
    p.setPen(Pen(c));
    if (name.startsWith("Node ") && !small)
    {
        // A path node carrying an order: a ring with the order inside.
        p.setPen(Pen(c, 2));
        p.drawEllipse(QRectF(2, 2, 27, 27));
        p.save();
        p.translate(8, 8);
        p.scale(0.5, 0.5);
        DrawMarker(p, name.mid(5), true);
        p.restore();
        if (name.contains("Turn Off"))
        {
            p.setPen(Pen(c, 3));
            p.drawLine(QPointF(7, 25), QPointF(25, 7));
        }
        return;
    }
    if (name.contains("Formation"))
        return DrawFormation(p, name, c);
    if (name.startsWith("Go Node"))
    {
        p.setBrush(c);
        p.setPen(Pen(Qt::black, 1));
        p.drawEllipse(QRectF(7, 7, 17, 17));
        return;
    }
    if (name.startsWith("Stop Node"))
    {
        p.setBrush(c);
        p.setPen(Pen(Qt::black, 1));
        p.drawRect(QRectF(8, 8, 16, 16));
        return;
    }
    if (name.contains("TaskOrg Marker"))
    {
        if (name.startsWith("NATO"))
            p.drawRect(QRectF(4, 14, 24, 14));
        p.drawLine(QPointF(8, 28), QPointF(8, 4));
        p.setBrush(c);
        p.drawPolygon(QPolygonF({QPointF(8, 4), QPointF(26, 8), QPointF(8, 12)}));
        return;
    }
    if (name.contains("Mounting") || name.contains("Dismounting") || name.contains("Dismount On Contact"))
    {
        p.drawRect(QRectF(4, 12, 14, 12));
        if (name.contains("Dismounting") || name.contains("Dismount On"))
            DrawArrow(p, c, QPointF(12, 18), QPointF(28, 18));
        else
            DrawArrow(p, c, QPointF(28, 18), QPointF(12, 18));
        return;
    }
    if (name.contains("Road Crater"))
    {
        if (name.contains("Fired"))
            p.setBrush(c);
        p.drawEllipse(QRectF(6, 6, 20, 20));
        p.setPen(Pen(name.contains("Fired") ? QColor(Qt::white) : c, 2));
        p.drawLine(QPointF(10, 10), QPointF(22, 22));
        p.drawLine(QPointF(22, 10), QPointF(10, 22));
        return;
    }
    if (name.contains("Function Unit") || name.contains("Graphic Unit Disk"))
    {
        p.setBrush(c);
        p.setPen(Pen(Qt::black, 1));
        p.drawEllipse(QRectF(6, 6, 20, 20));
        return;
    }
    if (name.contains("Function Circle"))
    {
        p.setPen(Pen(c, 3));
        p.drawEllipse(QRectF(5, 5, 22, 22));
        return;
    }
    if (name.contains("Max Range"))
    {
        p.drawArc(QRectF(-8, 4, 36, 36), 0, 90 * 16);
        DrawArrow(p, c, QPointF(6, 26), QPointF(24, 8));
        return;
    }
    if (name.contains("Field Of Fire"))
    {
        p.drawPie(QRectF(2, 2, 28, 28), 45 * 16, 90 * 16);
        return;
    }
    if (name.contains("Hold Fire"))
    {
        p.drawEllipse(QRectF(5, 5, 22, 22));
        p.drawLine(QPointF(9, 23), QPointF(23, 9));
        return;
    }
    if (name.startsWith("Stop"))
    {
        p.setBrush(c);
        QPolygonF octagon;
        for (int k = 0; k < 8; ++k)
        {
            const double a = (k + 0.5) * 3.14159265 / 4;
            octagon << QPointF(16 + 12 * std::cos(a), 16 + 12 * std::sin(a));
        }
        p.drawPolygon(octagon);
        return;
    }
    if (name.contains("Sprint") || name.contains("March Speed"))
    {
        p.setPen(Pen(c, 3));
        p.drawPolyline(QPolygonF({QPointF(6, 22), QPointF(16, 10), QPointF(26, 22)}));
        if (name.contains("Sprint"))
            p.drawPolyline(QPolygonF({QPointF(6, 30), QPointF(16, 18), QPointF(26, 30)}));
        return;
    }
    if (name.contains("Hide On Contact"))
    {
        p.drawEllipse(QRectF(5, 5, 22, 22));
        p.setBrush(c);
        p.drawChord(QRectF(5, 5, 22, 22), 180 * 16, 180 * 16);
        return;
    }
    if (name.contains("Engage On Contact") || name.contains("Fire Mission") || name.contains("Shot Target"))
    {
        p.drawEllipse(QRectF(7, 7, 18, 18));
        p.drawLine(QPointF(16, 2), QPointF(16, 30));
        p.drawLine(QPointF(2, 16), QPointF(30, 16));
        if (name.contains("Shot Target"))
        {
            p.setBrush(c);
            p.drawEllipse(QRectF(13, 13, 6, 6));
        }
        return;
    }
    if (name.contains("Bypass"))
    {
        p.setPen(Pen(Qt::black, 3));
        p.drawLine(QPointF(10, 18), QPointF(22, 18));
        p.setPen(Pen(c));
        p.drawArc(QRectF(6, 6, 20, 20), 0, 180 * 16);
        DrawArrow(p, c, QPointF(26, 14), QPointF(26, 22));
        return;
    }
    if (name.contains("Defilade"))
    {
        p.setPen(Pen(c, 3));
        p.drawArc(QRectF(4, 10, 24, 20), 0, 180 * 16);
        p.drawLine(QPointF(2, 20), QPointF(30, 20));
        return;
    }
    if (name.contains("Do Not Emplace"))
    {
        p.drawRect(QRectF(5, 5, 22, 22));
        p.drawLine(QPointF(5, 27), QPointF(27, 5));
        return;
    }
    if (name.contains("Suppress"))
    {
        p.setBrush(c);
        QPolygonF star;
        for (int k = 0; k < 16; ++k)
        {
            const double a = k * 3.14159265 / 8;
            const double r = k % 2 == 0 ? 14 : 6;
            star << QPointF(16 + r * std::cos(a), 16 + r * std::sin(a));
        }
        p.drawPolygon(star);
        return;
    }
    if (name.contains("Breaching"))
    {
        p.drawLine(QPointF(4, 10), QPointF(28, 10));
        p.drawLine(QPointF(4, 22), QPointF(28, 22));
        DrawArrow(p, c, QPointF(16, 30), QPointF(16, 2));
        return;
    }
    if (name.contains("Smoke") || name.contains("Chem Contact"))
    {
        p.setBrush(c);
        if (name.contains("Chem"))
        {
            p.drawPolygon(QPolygonF({QPointF(16, 4), QPointF(28, 27), QPointF(4, 27)}));
            return;
        }
        p.drawEllipse(QRectF(4, 12, 12, 12));
        p.drawEllipse(QRectF(12, 6, 14, 14));
        p.drawEllipse(QRectF(16, 14, 12, 12));
        return;
    }
    if (name.contains("Deploy Mines"))
    {
        for (int k = 0; k < 3; ++k)
        {
            p.setBrush(c);
            p.drawEllipse(QRectF(3 + k * 9, 12, 8, 8));
        }
        return;
    }
    if (name.contains("Mine"))
    {
        p.drawEllipse(QRectF(6, 6, 20, 20));
        p.setBrush(c);
        p.drawEllipse(QRectF(12, 12, 8, 8));
        return;
    }
    if (name.contains("Blocked Path") || name.contains("Destroyed Unit"))
    {
        p.setPen(Pen(c, 4));
        p.drawLine(QPointF(6, 6), QPointF(26, 26));
        p.drawLine(QPointF(26, 6), QPointF(6, 26));
        return;
    }
    if (name.contains("Start Time"))
    {
        p.setPen(Pen(Qt::black, 2));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(4, 4, 24, 24));
        p.drawLine(QPointF(16, 16), QPointF(16, 8));
        p.drawLine(QPointF(16, 16), QPointF(22, 16));
        return;
    }
    if (name.contains("Hole Marker"))
    {
        // A dug position: a horseshoe open to the rear, a small one for a team.
        const double w = name.startsWith("Dismount") ? 12 : 20;
        p.setPen(Pen(c, 3));
        p.drawArc(QRectF(16 - w / 2, 8, w, w), 0, 180 * 16);
        p.drawLine(QPointF(16 - w / 2, 8 + w / 2), QPointF(16 - w / 2, 26));
        p.drawLine(QPointF(16 + w / 2, 8 + w / 2), QPointF(16 + w / 2, 26));
        return;
    }
    if (name.contains("Tank Ditch"))
    {
        p.setPen(Pen(c, 3));
        p.drawPolyline(QPolygonF(
            {QPointF(2, 20), QPointF(8, 12), QPointF(14, 20), QPointF(20, 12), QPointF(26, 20), QPointF(30, 14)}));
        return;
    }
    if (name.contains("Wire"))
    {
        for (int k = 0; k < 3; ++k)
        {
            const double x = 3 + k * 9;
            p.drawLine(QPointF(x, 11), QPointF(x + 8, 21));
            p.drawLine(QPointF(x + 8, 11), QPointF(x, 21));
        }
        return;
    }
    if (name.contains("Echelon Locked"))
    {
        p.setPen(Pen(Qt::black, 1));
        p.setBrush(c);
        p.drawRect(QRectF(7, 14, 18, 14));
        p.setBrush(Qt::NoBrush);
        p.setPen(Pen(c, 3));
        p.drawArc(QRectF(10, 4, 12, 16), 0, 180 * 16);
        return;
    }
    // Anything else: a marked square in its colour.
    p.drawRect(QRectF(6, 6, 20, 20));
    p.drawLine(QPointF(6, 16), QPointF(26, 16));
}

// The NATO frames: friendly a rectangle, enemy a diamond, neutral a square,
// with the echelon above (platoon dots, company I, battalion II) and the
// armour track inside a vehicle.
inline void DrawNatoMarker(QPainter& p, const QString& name)
{
    const bool enemy = name.startsWith("Enemy");
    const bool neutral = name.contains("Neutral");
    // The two sides differ in hue and in brightness: a light blue against
    // a dark red, both edged in black to hold on any ground.
    QColor fill = enemy ? QColor(215, 35, 35) : QColor(110, 200, 255);
    if (neutral)
        fill = enemy ? QColor(255, 255, 128) : QColor(170, 255, 170);
    p.setPen(Pen(Qt::black, 2));
    if (name == "Mounted Grey")
    {
        p.setBrush(QColor(160, 160, 160));
        p.drawRoundedRect(QRectF(5, 11, 22, 12), 6, 6);
        return;
    }
    if (name == "Destroyed Grey")
    {
        p.setPen(Pen(QColor(120, 120, 120), 4));
        p.drawLine(QPointF(5, 9), QPointF(27, 29));
        p.drawLine(QPointF(27, 9), QPointF(5, 29));
        return;
    }
    // A frame: the side's colour round the edge, the key inside, so that
    // the type symbol drawn under it shows through.
    // The colour over a wider black, so that a dark edge runs either side.
    p.setBrush(Qt::NoBrush);
    const QPolygonF diamond({QPointF(16, 9), QPointF(28, 20), QPointF(16, 31), QPointF(4, 20)});
    for (const QPen& pen : {Pen(Qt::black, 6), Pen(fill, 3.5)})
    {
        p.setPen(pen);
        if (enemy)
            p.drawPolygon(diamond);
        else if (neutral)
            p.drawRect(QRectF(8, 11, 17, 17));
        else
            p.drawRect(QRectF(4, 12, 24, 16));
    }
    p.setBrush(Qt::black);
    p.setPen(Pen(Qt::black, 2));
    if (name.endsWith("Platoon"))
    {
        p.setPen(Qt::NoPen);
        for (int k = 0; k < 3; ++k)
            p.drawRect(QRectF(8 + k * 6, 2, 4, 4));
    }
    else if (name.endsWith("Company"))
    {
        p.drawLine(QPointF(16, 1), QPointF(16, 7));
    }
    else if (name.endsWith("Battalion"))
    {
        p.drawLine(QPointF(13, 1), QPointF(13, 7));
        p.drawLine(QPointF(19, 1), QPointF(19, 7));
    }
}

// An unidentified contact: a yellow quatrefoil with the kind inside.
inline void DrawUnidentified(QPainter& p, const QString& kind, const QColor& fill)
{
    p.setPen(Pen(Qt::black, 1));
    p.setBrush(fill);
    p.drawEllipse(QRectF(9, 3, 14, 14));
    p.drawEllipse(QRectF(9, 15, 14, 14));
    p.drawEllipse(QRectF(3, 9, 14, 14));
    p.drawEllipse(QRectF(15, 9, 14, 14));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(8, 8, 16, 16));
    p.setPen(Pen(Qt::black, 2));
    p.setBrush(Qt::NoBrush);
    if (kind.contains("Vehicle"))
        p.drawRoundedRect(QRectF(10, 12, 12, 8), 4, 4);
    else if (kind.contains("Dismount"))
    {
        p.drawLine(QPointF(10, 10), QPointF(22, 22));
        p.drawLine(QPointF(22, 10), QPointF(10, 22));
    }
    else if (kind.contains("Artillery"))
    {
        p.setBrush(Qt::black);
        p.drawEllipse(QRectF(13, 13, 6, 6));
    }
    else if (kind.contains("Observer"))
        p.drawPolygon(QPolygonF({QPointF(16, 9), QPointF(23, 22), QPointF(9, 22)}));
    else if (kind.contains("Rotary"))
        p.drawPolygon(QPolygonF({QPointF(9, 11), QPointF(23, 21), QPointF(23, 11), QPointF(9, 21)}));
    else if (kind.contains("Fixed"))
    {
        p.drawLine(QPointF(16, 9), QPointF(16, 23));
        p.drawLine(QPointF(9, 14), QPointF(23, 14));
        p.drawLine(QPointF(12, 21), QPointF(20, 21));
    }
}

// A direction arrow pointing north from the frame's centre.
inline void DrawDirectionArrow(QPainter& p, const QColor& c, bool turret)
{
    p.setPen(Pen(c, turret ? 2 : 3));
    p.drawLine(QPointF(0, turret ? 0 : 4), QPointF(0, -12));
    p.setBrush(c);
    p.drawPolygon(QPolygonF({QPointF(0, -15), QPointF(-5, -8), QPointF(5, -8)}));
}

// A soft-edged cloud in one colour, dotted towards its edge so the ground
// shows through.
inline void DrawCloud(QImage& image, const QColor& c)
{
    const int size = image.width();
    const double centre = (size - 1) / 2.0;
    for (int y = 0; y < size; ++y)
    {
        for (int x = 0; x < size; ++x)
        {
            const double dx = (x - centre) / centre;
            const double dy = (y - centre) / centre;
            const double a = std::atan2(dy, dx);
            const double r = std::sqrt(dx * dx + dy * dy) + 0.05 * std::sin(7 * a) + 0.04 * std::sin(3 * a + 1.0);
            const bool dense = r < 0.6;
            const bool edge = r < 0.95 && ((x + y) % 2 == 0) && (r < 0.8 || (x % 2 == 0));
            if (dense || edge)
                image.setPixelColor(x, y, c);
        }
    }
}

// One sheet of the catalogue, drawn frame by frame.
inline QImage DrawSheet(const SymbolCatalogueEntry& entry)
{
    const int frame = FrameSizeOf(entry);
    QImage image(entry.nColumns * frame, entry.nRows * frame, QImage::Format_RGB32);
    image.fill(kKey);
    const QString name = entry.pszName;
    if (entry.nFrames == 1)
    {
        DrawCloud(image, name.startsWith("Smoke")   ? QColor(200, 200, 200)
                         : name.startsWith("Illum") ? QColor(255, 250, 170)
                                                    : QColor(190, 120, 220));
        return image;
    }
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int k = 0; k < entry.nFrames; ++k)
    {
        p.save();
        p.translate((k % entry.nColumns) * frame, (k / entry.nColumns) * frame);
        p.setClipRect(0, 0, frame, frame);
        // Every symbol is drawn in the units of a 32-pixel frame.
        p.scale(frame / double(kFrameSize), frame / double(kFrameSize));
        if (entry.bList)
        {
            const QString member = entry.apszMembers[k];
            if (name == "Nato Markers")
                DrawNatoMarker(p, member);
            else if (name == "Unidentified Nato Icons")
                DrawUnidentified(p, member, QColor(255, 255, 128));
            else
                DrawMarker(p, member);
        }
        else if (entry.nFrames == 10)
        {
            // A pulse: the marker grows and shrinks over the ten frames;
            // the protection marker only grows, frame by frame, as the
            // crew's protection wears it down.
            const double scale =
                name.startsWith("MOPP") ? 0.45 + 0.55 * k / 9.0 : 0.6 + 0.4 * std::sin(k * 3.14159265 / 9);
            p.translate(16, 16);
            p.scale(scale, scale);
            p.translate(-16, -16);
            if (name.startsWith("MOPP"))
            {
                p.setPen(Pen(Qt::black, 2));
                p.setBrush(NamedColour(name));
                p.drawEllipse(QRectF(6, 4, 20, 24));
                p.setBrush(Qt::white);
                p.drawEllipse(QRectF(9, 10, 6, 6));
                p.drawEllipse(QRectF(17, 10, 6, 6));
                p.drawRect(QRectF(13, 20, 6, 6));
            }
            else
            {
                DrawMarker(p, "Suppress Yellow");
            }
        }
        else
        {
            // Thirty-six headings, 10 degrees apart, clockwise from north.
            p.translate(16, 16);
            p.rotate(k * 10.0);
            const QColor c = NamedColour(name);
            if (name.startsWith("Hull") || name.startsWith("Turret"))
            {
                DrawDirectionArrow(p, c, name.startsWith("Turret"));
            }
            else if (name.startsWith("Hole"))
            {
                p.translate(-16, -16);
                DrawMarker(p, "Vehicle Hole Marker " + name.section(' ', 2));
            }
            else
            {
                p.translate(-16, -16);
                DrawUnidentified(p, name, QColor(150, 230, 150));
                p.setPen(Pen(c, 2));
                p.drawLine(QPointF(16, 4), QPointF(16, 0));
            }
        }
        p.restore();
    }
    p.end();
    return image;
}

// Writes the twenty bitmaps into the data directory.
inline BOOL WriteDemoSymbols(const CString& dataDir, CString& errorText)
{
    const SymbolCatalogueEntry* table = GetSymbolCatalogueTable();
    for (int i = 0; i < SYMBOL_CATALOGUE_SIZE; ++i)
    {
        const CString path = JoinPath(dataDir, table[i].pszBitmapFile);
        if (!DrawSheet(table[i]).save(QString::fromLocal8Bit(path.GetString()), "BMP"))
        {
            errorText = CString("cannot write ") + path;
            return FALSE;
        }
    }
    return TRUE;
}
}  // namespace demo_symbols
