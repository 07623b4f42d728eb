#pragma once
// The demo database's piece array "Demo.pca" and its bitmaps: every map
// graphic that the demo's vehicle list names (demo_equipment.h), drawn here
// on the transparent magenta without smoothing, so that every pixel is
// either the key or a colour of the picture.
//
// The own types are olive, the enemy's a bright red: the two sides differ
// in hue and in brightness. The enemy's coloured sheets carry the piece flag,
// by which the symbol style frames a unit as the enemy's.
//
// Heading sheets: a vehicle type's picture, its pictures when hit and when
// destroyed, the tank's turret, the carrier with its ramp down, the
// emplaced mortar and the three stages of the mortar's flash have 36 frames
// of 96 x 96 pixels, 6 columns by 6 rows (frame k at column k % 6, row
// k / 6). Frame k shows the picture turned k x 10 degrees clockwise from
// north, north being up, as the unit and the turret pick their frame from
// their heading; the picture is centred on the frame, where the unit stands.
// The frames are as large as the view's default icon sizes need (a quarter
// to three quarters of the frame) for a player to read a unit's type.
// The laser spot is a single 32 x 32 frame. The NATO symbols of the types
// and the picture icons' list are piece lists of 64 x 64 frames, the size of
// the symbol catalogue's NATO frames they are drawn with; the impact bursts
// of the munitions have 32 x 32 frames. Lists are laid out like the symbol
// catalogue's lists: columns min(n, 5), rows n / 5
// rounded up. A munition names the first of its three burst frames; the
// landing round shows the three in turn.

#include "database/Piece.h"
#include "database/PieceArray.h"
#include "demo_equipment.h"
#include "platform/core/Core.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <QString>

#include <cmath>
#include <functional>
#include <vector>

namespace demo_pieces
{
const char* const kPieceFile = "Demo.pca";
const char* const kNatoListName = "Demo NATO Symbols";
const char* const kNatoListFile = "demo_nato_symbols.bmp";
const char* const kBurstListName = "Impact Bursts";
// The platoon and company pictures of the picture icons (the alternative
// symbol style): a vehicle picture per type that leads a platoon, and a
// frame per side and level, in one list.
const char* const kAltListName = "Demo Unit Pictures";
const char* const kAltListFile = "demo_unit_pictures.bmp";
const char* const kAltTankPicture = "Tank Group Picture";
const char* const kAltCarrierPicture = "Mech Group Picture";
const char* const kAltFriendlyPlatoonFrame = "Blue Platoon Frame";
const char* const kAltFriendlyCompanyFrame = "Blue Company Frame";
const char* const kAltEnemyPlatoonFrame = "Red Platoon Frame";
const char* const kAltEnemyCompanyFrame = "Red Company Frame";
const char* const kAltEnemyTankPicture = "Enemy Tank Group Picture";
const char* const kAltEnemyCarrierPicture = "Enemy Mech Group Picture";
const char* const kBurstListFile = "demo_impact_bursts.bmp";

constexpr int kHeadings = 36;
constexpr int kHeadingColumns = 6;
constexpr int kHeadingRows = 6;
constexpr int kVehicleFrame = 96;
// The NATO symbols and the picture icons' list, drawn at the vehicles'
// scale; the laser spot and the bursts keep the catalogue's frame size.
constexpr int kSymbolFrame = 64;
constexpr int kSmallFrame = 32;
const QColor kKey(255, 0, 255);

// ---------------------------------------------------------------------------
// Piece records

// A piece as the file stores it. The game makes a piece only while its
// display is up and leaves one made without it empty; the generator has no
// display, so it fills the stored fields itself. The record keeps the
// game's class, so the game's own Serialize writes it under "CPiece".
class CPieceRecord : public CPiece
{
public:
    CPieceRecord(const CString& bitmapFile, const CString& name, int rows, int columns, int frames,
                 BOOL bEnemyColours = FALSE)
    {
        m_strBitmapFile = bitmapFile;
        m_strName = name;
        m_nRows = rows;
        m_nColumns = columns;
        m_nFrameCount = frames;
        m_bFlag = bEnemyColours;
    }
};

// The same for a piece list, written under "CPieceList".
class CPieceListRecord : public CPieceList
{
public:
    CPieceListRecord(const CString& bitmapFile, const CString& name, int rows, int columns, const CStringArray& members)
        : CPieceList(bitmapFile, name, rows, columns, members.GetSize(), 0, &members)
    {
        m_strBitmapFile = bitmapFile;
        m_strName = name;
        m_nRows = rows;
        m_nColumns = columns;
        m_nFrameCount = members.GetSize();
    }
};

// "demo_" and the name in lower case, words joined by '_', ".bmp".
inline CString BitmapFileOf(const char* name)
{
    QString slug = QString(name).toLower();
    slug.replace(' ', '_');
    slug.replace('-', '_');
    return CString(("demo_" + slug + ".bmp").toLocal8Bit().constData());
}

// ---------------------------------------------------------------------------
// Drawing

// The pictures are drawn in units of a 48-unit frame and painted at
// kPictureScale pixels a unit. The view shows a unit at its icon size, a
// fraction (0.25 to 0.75 by default) of the frame, and picks the nearest
// pixel: an outline of 1.5 units (3 pixels) still shows at half size, and
// the silhouettes, not their details, tell the types apart when smaller.
constexpr double kPictureScale = double(kVehicleFrame) / 48.0;
constexpr double kOutlineWidth = 1.5;

enum class Look
{
    Normal,
    Hit,
    Destroyed
};

struct Palette
{
    QColor hull;
    QColor dark;  // the outline, dark enough to hold on the map's light greens and browns
    QColor track;
    QColor light;
    QColor uniform;
    QColor helmet;
};

// The enemy has colours of its own only while whole: scorched and burnt
// out, both sides look alike.
inline Palette PaletteFor(Look look, bool bEnemy = false)
{
    if (bEnemy && look == Look::Normal)
    {
        // A bright brick red, lighter than the own olive throughout, tracks
        // and helmets too, edged in a dark red.
        return {QColor(222, 92, 70),   QColor(84, 16, 12),    QColor(120, 90, 84),
                QColor(255, 196, 168), QColor(255, 172, 140), QColor(240, 104, 80)};
    }
    if (look == Look::Destroyed)
    {
        // Burnt out: charcoal and rust, no green left.
        return {QColor(70, 62, 56), QColor(12, 10, 10), QColor(30, 28, 28),
                QColor(120, 70, 44), QColor(86, 80, 76), QColor(46, 42, 40)};
    }
    if (look == Look::Hit)
    {
        // Scorched: the olive turned brown.
        return {QColor(132, 104, 52), QColor(20, 14, 8), QColor(52, 46, 40),
                QColor(200, 160, 90), QColor(120, 96, 50), QColor(64, 50, 28)};
    }
    return {QColor(104, 124, 56), QColor(16, 22, 10), QColor(48, 48, 42),
            QColor(178, 192, 112), QColor(150, 166, 92), QColor(52, 70, 28)};
}

inline QPen Outline(const QColor& c, double width = kOutlineWidth)
{
    QPen pen(c, width);
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

inline void Box(QPainter& p, const QRectF& r, const QColor& fill, const QColor& edge)
{
    p.setPen(Outline(edge));
    p.setBrush(fill);
    p.drawRect(r);
}

inline void Disc(QPainter& p, QPointF centre, double r, const QColor& fill, const QColor& edge)
{
    p.setPen(Outline(edge));
    p.setBrush(fill);
    p.drawEllipse(centre, r, r);
}

inline void Shape(QPainter& p, const QPolygonF& outline, const QColor& fill, const QColor& edge)
{
    p.setPen(Outline(edge));
    p.setBrush(fill);
    p.drawPolygon(outline);
}

// A star of n points between the two radii around a centre.
inline QPolygonF Star(QPointF centre, int points, double outer, double inner, double turn = 0.0)
{
    QPolygonF star;
    for (int k = 0; k < 2 * points; ++k)
    {
        const double a = turn + k * 3.14159265 / points;
        const double r = k % 2 == 0 ? outer : inner;
        star << QPointF(centre.x() + r * std::sin(a), centre.y() - r * std::cos(a));
    }
    return star;
}

// Pictures are drawn pointing north (up, -y) around the origin, inside a
// circle of 23 units so that no heading cuts them at the frame's edge.
inline void DrawTracks(QPainter& p, const Palette& c, double halfWidth, double front, double length)
{
    Box(p, QRectF(-halfWidth, front, 5, length), c.track, c.dark);
    Box(p, QRectF(halfWidth - 5, front, 5, length), c.track, c.dark);
}

// The tank: a long hull on wide tracks, the engine deck at the rear.
inline void DrawTankHull(QPainter& p, const Palette& c)
{
    DrawTracks(p, c, 12.5, -18, 36);
    Shape(p, QPolygonF({QPointF(-7.5, -17), QPointF(7.5, -17), QPointF(8.5, -13), QPointF(8.5, 17), QPointF(-8.5, 17),
                        QPointF(-8.5, -13)}),
          c.hull, c.dark);
    Box(p, QRectF(-6, 10, 12, 5), c.track, c.dark);
}

// The turret: a broad rounded turret and a long gun, so that a tank reads
// as a tank at any size.
inline void DrawTurret(QPainter& p, const Palette& c)
{
    Box(p, QRectF(-1.5, -23, 3, 17), c.dark, c.dark);
    Shape(p, QPolygonF({QPointF(-7, -7), QPointF(7, -7), QPointF(9.5, -1), QPointF(9.5, 5), QPointF(6, 9.5),
                        QPointF(-6, 9.5), QPointF(-9.5, 5), QPointF(-9.5, -1)}),
          c.light, c.dark);
    Disc(p, QPointF(3.5, 3), 2.5, c.hull, c.dark);
}

inline QPolygonF CarrierBody()
{
    // A sloped glacis and a square rear.
    return QPolygonF({QPointF(-5, -19), QPointF(5, -19), QPointF(8.5, -12), QPointF(8.5, 16), QPointF(-8.5, 16),
                      QPointF(-8.5, -12)});
}

// The infantry carrier: a box on tracks with a small turret forward right
// and the troop doors at the rear.
inline void DrawCarrier(QPainter& p, const Palette& c, bool rampDown)
{
    DrawTracks(p, c, 12, -17, 33);
    Shape(p, CarrierBody(), c.hull, c.dark);
    if (rampDown)
    {
        // The troop compartment open to the rear and the ramp on the ground.
        Box(p, QRectF(-6, 4, 12, 12), c.track, c.dark);
        Box(p, QRectF(-7, 16, 14, 7), c.light, c.dark);
    }
    else
    {
        Box(p, QRectF(-6, 6, 12, 8), c.light, c.dark);
        p.setPen(Outline(c.dark));
        p.drawLine(QPointF(0, 6), QPointF(0, 14));
    }
    Disc(p, QPointF(3, -6), 4.5, c.light, c.dark);
    Box(p, QRectF(2.5, -18, 2, 9), c.dark, c.dark);
}

// The mortar carrier: the carrier's hull with the roof open and the heavy
// tube inside, pointing ahead.
inline void DrawMortarCarrier(QPainter& p, const Palette& c, bool emplaced)
{
    DrawTracks(p, c, 12, -17, 33);
    Shape(p, CarrierBody(), c.hull, c.dark);
    Box(p, QRectF(-6.5, -6, 13, 19), c.track, c.dark);  // the open roof
    if (emplaced)
    {
        // Spades dug in at the rear; the tube raised to fire, seen end on.
        Box(p, QRectF(-11, 16, 4, 6), c.dark, c.dark);
        Box(p, QRectF(7, 16, 4, 6), c.dark, c.dark);
        Disc(p, QPointF(0, 2), 5.5, c.light, c.dark);
        Disc(p, QPointF(0, 2), 2.5, c.dark, c.dark);
    }
    else
    {
        // The tube lies forward over the hull, its muzzle past the glacis.
        Box(p, QRectF(-2.5, -21, 5, 27), c.light, c.dark);
        Box(p, QRectF(-4, -22.5, 8, 3.5), c.dark, c.dark);
        Disc(p, QPointF(0, 8), 3.5, c.light, c.dark);
    }
}

inline void DrawWheels(QPainter& p, const Palette& c, std::initializer_list<double> rows)
{
    for (double y : rows)
    {
        Box(p, QRectF(-11.5, y, 4, 7), c.track, c.dark);
        Box(p, QRectF(7.5, y, 4, 7), c.track, c.dark);
    }
}

// The observer: a wheeled body carrying a tall sensor mast, drawn as the
// sensor head on its cross arms over the roof.
inline void DrawObserver(QPainter& p, const Palette& c)
{
    DrawWheels(p, c, {-13.0, 7.0});
    Shape(p, QPolygonF({QPointF(-5, -18), QPointF(5, -18), QPointF(8, -13), QPointF(8, 17), QPointF(-8, 17),
                        QPointF(-8, -13)}),
          c.hull, c.dark);
    // The mast's arms reach past the body on both sides.
    Box(p, QRectF(-15, 0, 30, 3.5), c.dark, c.dark);
    Box(p, QRectF(-1.75, -8, 3.5, 18), c.dark, c.dark);
    Disc(p, QPointF(0, 1.75), 6, c.light, c.dark);
    Disc(p, QPointF(0, 1.75), 2, c.dark, c.dark);
    Disc(p, QPointF(-15, 1.75), 2.5, c.light, c.dark);
    Disc(p, QPointF(15, 1.75), 2.5, c.light, c.dark);
}

// The ammunition carrier: a truck, a narrow cab ahead of a long bed of
// crates with bright ends.
inline void DrawAmmunitionCarrier(QPainter& p, const Palette& c)
{
    DrawWheels(p, c, {-16.0, 4.0, 12.0});
    Shape(p, QPolygonF({QPointF(-6, -20), QPointF(6, -20), QPointF(7, -11), QPointF(-7, -11)}), c.hull, c.dark);
    Box(p, QRectF(-4.5, -18, 9, 3), c.light, c.dark);  // the windscreen
    Box(p, QRectF(-9, -9, 18, 28), c.track, c.dark);
    const QColor crateEnd(230, 190, 40);
    for (int row = 0; row < 3; ++row)
    {
        for (int column = 0; column < 2; ++column)
        {
            const QRectF crate(-7.5 + column * 8, -7 + row * 8.5, 7, 7);
            Box(p, crate, c.light, c.dark);
            Box(p, QRectF(crate.left(), crate.top(), crate.width(), 2.5), crateEnd, c.dark);
        }
    }
}

// The engineer vehicle: a tank hull with a wide mine plough ahead of it
// and a jib folded along its back.
inline void DrawEngineer(QPainter& p, const Palette& c)
{
    DrawTankHull(p, c);
    Shape(p, QPolygonF({QPointF(-14, -22), QPointF(14, -22), QPointF(12, -18), QPointF(-12, -18)}), c.dark, c.dark);
    for (double x : {-11.0, -6.0, -1.0, 4.0, 9.0})
        Box(p, QRectF(x, -23.5, 2, 3), c.light, c.dark);
    Box(p, QRectF(-2, -12, 4, 22), c.light, c.dark);
    Disc(p, QPointF(0, 11), 3, c.track, c.dark);
}

// The smoke generator: a carrier with twin smoke pots on its back and a
// grey plume behind it.
inline void DrawSmokeGenerator(QPainter& p, const Palette& c)
{
    DrawTracks(p, c, 12, -17, 33);
    Shape(p, CarrierBody(), c.hull, c.dark);
    Disc(p, QPointF(-4, 8), 3.5, c.track, c.dark);
    Disc(p, QPointF(4, 8), 3.5, c.track, c.dark);
    Disc(p, QPointF(-3, 18), 3, QColor(200, 200, 196), QColor(150, 150, 146));
    Disc(p, QPointF(3, 20), 3.5, QColor(215, 215, 210), QColor(150, 150, 146));
}

// The mine layer: a truck whose bed carries the dispenser's chute, with
// mines in a row down it.
inline void DrawMineLayer(QPainter& p, const Palette& c)
{
    DrawWheels(p, c, {-16.0, 4.0, 12.0});
    Shape(p, QPolygonF({QPointF(-6, -20), QPointF(6, -20), QPointF(7, -11), QPointF(-7, -11)}), c.hull, c.dark);
    Box(p, QRectF(-4.5, -18, 9, 3), c.light, c.dark);
    Box(p, QRectF(-9, -9, 18, 28), c.hull, c.dark);
    Box(p, QRectF(-3, -7, 6, 28), c.track, c.dark);
    for (int k = 0; k < 5; ++k)
        Disc(p, QPointF(0, -4 + k * 5.5), 2, QColor(230, 190, 40), c.dark);
}

// The scout helicopter's body: a rounded cabin, a thin tail boom and the
// tail rotor; its main rotor is a picture of its own.
inline void DrawHelicopter(QPainter& p, const Palette& c)
{
    Box(p, QRectF(-1.5, 4, 3, 17), c.hull, c.dark);
    Box(p, QRectF(-5, 18, 10, 2), c.dark, c.dark);
    p.setPen(Outline(c.dark));
    p.setBrush(c.hull);
    p.drawEllipse(QRectF(-6, -14, 12, 20));
    Box(p, QRectF(-3.5, -12, 7, 5), c.light, c.dark);  // the canopy
}

// Frame k of the rotor: two blades across each other, turned k x 15
// degrees (the blades repeat every quarter turn).
inline void DrawRotor(QPainter& p, int k)
{
    p.rotate(k * 15.0);
    const QColor blade(40, 40, 40);
    Box(p, QRectF(-22, -1, 44, 2), blade, blade);
    Box(p, QRectF(-1, -22, 2, 44), blade, blade);
    Disc(p, QPointF(0, 0), 2.5, QColor(90, 90, 90), blade);
}

// A soldier seen from above: shoulders, helmet and the weapon held ahead.
inline void DrawSoldier(QPainter& p, const Palette& c, QPointF at, bool lying)
{
    p.save();
    p.translate(at);
    if (lying)
        p.rotate(90);
    Shape(p, QPolygonF({QPointF(-5, -1), QPointF(5, -1), QPointF(4, 4), QPointF(-4, 4)}), c.uniform, c.dark);
    Disc(p, QPointF(0, 0), 3.2, c.helmet, c.dark);
    Box(p, QRectF(2.5, -7, 1.5, 6), c.dark, c.dark);
    p.restore();
}

inline void DrawTeam(QPainter& p, const Palette& c, int twin, bool lying)
{
    // A team on foot covers less ground than a vehicle, but must still be
    // seen: its soldiers are drawn larger than life.
    p.save();
    p.scale(1.6, 1.6);
    if (twin == demo_equipment::kAntiTankTeam)
    {
        // Two soldiers side by side, the gunner's launcher a thick tube
        // across the pair that no rifle team has.
        DrawSoldier(p, c, QPointF(-6, 4), lying);
        DrawSoldier(p, c, QPointF(6, 4), lying);
        if (!lying)
        {
            Box(p, QRectF(4.5, -10, 4, 14), c.light, c.dark);
            Box(p, QRectF(4, -11.5, 5, 3), c.dark, c.dark);
        }
    }
    else
    {
        // Three soldiers in a wedge.
        DrawSoldier(p, c, QPointF(0, -5), lying);
        DrawSoldier(p, c, QPointF(-6.5, 5.5), lying);
        DrawSoldier(p, c, QPointF(6.5, 5.5), lying);
    }
    p.restore();
}

// A vehicle type's own picture (the tank without its turret, which the
// turret capability draws over it): its twin's silhouette in its side's
// colours.
inline void DrawVehicleType(QPainter& p, int type, Look look)
{
    using namespace demo_equipment;
    const Palette c = PaletteFor(look, IsEnemyType(type));
    const int twin = kTwinOf[type];
    switch (twin)
    {
    case kTank:
        DrawTankHull(p, c);
        // Hit and wrecked tanks keep their turret in the picture.
        if (look != Look::Normal)
            DrawTurret(p, c);
        break;
    case kInfantryCarrier: DrawCarrier(p, c, false); break;
    case kRifleTeam:
    case kAntiTankTeam: DrawTeam(p, c, twin, look == Look::Destroyed); break;
    case kMortarCarrier: DrawMortarCarrier(p, c, false); break;
    case kObserverVehicle: DrawObserver(p, c); break;
    case kAmmunitionCarrier: DrawAmmunitionCarrier(p, c); break;
    case kEngineerVehicle: DrawEngineer(p, c); break;
    case kSmokeGenerator: DrawSmokeGenerator(p, c); break;
    case kMineLayer: DrawMineLayer(p, c); break;
    case kScoutHelicopter: DrawHelicopter(p, c); break;
    default: break;
    }
    if (look == Look::Hit)
    {
        // A large burst of fire over the middle.
        Shape(p, Star(QPointF(0, -2), 9, 12, 5), QColor(255, 210, 30), QColor(200, 30, 0));
        Shape(p, Star(QPointF(0, -2), 7, 7, 3, 0.3), QColor(255, 120, 0), QColor(255, 120, 0));
        Disc(p, QPointF(0, -2), 3, QColor(255, 250, 220), QColor(255, 250, 220));
    }
    else if (look == Look::Destroyed)
    {
        // Flames and a pall of black smoke over the burnt-out hull.
        Shape(p, QPolygonF({QPointF(-8, 8), QPointF(-6, -4), QPointF(-3, 2), QPointF(0, -9), QPointF(3, 0),
                            QPointF(6, -5), QPointF(8, 8)}),
              QColor(240, 110, 20), QColor(150, 20, 0));
        Shape(p, QPolygonF({QPointF(-4, 6), QPointF(-2, 0), QPointF(0, 3), QPointF(2, -3), QPointF(4, 6)}),
              QColor(255, 220, 60), QColor(255, 220, 60));
        Disc(p, QPointF(5, -13), 6, QColor(36, 36, 36), QColor(10, 10, 10));
        Disc(p, QPointF(-3, -16), 4.5, QColor(52, 52, 52), QColor(10, 10, 10));
    }
}

// A stage of the mortar's flash: a small bright flash, the full blast
// thrown forward, then the smoke it leaves.
inline void DrawFlash(QPainter& p, int stage)
{
    if (stage == 0)
    {
        p.setPen(Outline(QColor(255, 200, 40)));
        p.setBrush(QColor(255, 250, 200));
        p.drawPolygon(QPolygonF({QPointF(0, -10), QPointF(3, -2), QPointF(0, 3), QPointF(-3, -2)}));
        return;
    }
    if (stage == 1)
    {
        p.setPen(Outline(QColor(220, 80, 0)));
        p.setBrush(QColor(255, 170, 30));
        p.drawPolygon(QPolygonF({QPointF(0, -20), QPointF(6, -6), QPointF(12, -2), QPointF(5, 3), QPointF(0, 8),
                                 QPointF(-5, 3), QPointF(-12, -2), QPointF(-6, -6)}));
        Disc(p, QPointF(0, -4), 4, QColor(255, 250, 200), QColor(255, 230, 120));
        return;
    }
    for (const QPointF& puff : {QPointF(0, -8), QPointF(-5, -2), QPointF(5, -1)})
        Disc(p, puff, 5, QColor(170, 170, 165), QColor(130, 130, 125));
}

inline void DrawLaserSpot(QPainter& p)
{
    const QColor red(220, 0, 0);
    p.setPen(Outline(red, 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(16, 16), 7, 7);
    p.drawLine(QPointF(16, 2), QPointF(16, 7));
    p.drawLine(QPointF(16, 25), QPointF(16, 30));
    p.drawLine(QPointF(2, 16), QPointF(7, 16));
    p.drawLine(QPointF(25, 16), QPointF(30, 16));
    Disc(p, QPointF(16, 16), 2, red, red);
}

// A type's NATO mark, black, for the middle of the symbol frame.
inline void DrawNatoSymbol(QPainter& p, int type)
{
    using namespace demo_equipment;
    // A pale ground behind the mark, inside every side's frame: the mark
    // reads on any map colour, and the unit's own point (the frame's
    // middle) is part of the picture, where a click on the unit lands.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(236, 236, 222));
    p.drawRect(QRectF(10, 14, 12, 12));
    p.setPen(Outline(Qt::black, 2));
    p.setBrush(Qt::NoBrush);
    const auto cross = [&p]
    {
        p.drawLine(QPointF(7, 13), QPointF(25, 27));
        p.drawLine(QPointF(25, 13), QPointF(7, 27));
    };
    const QRectF track(9, 16, 14, 8);
    switch (kTwinOf[type])
    {
    case kTank: p.drawRoundedRect(track, 4, 4); break;
    case kInfantryCarrier:
        cross();
        p.drawRoundedRect(QRectF(11, 22, 10, 5), 2, 2);
        break;
    case kRifleTeam: cross(); break;
    case kAntiTankTeam:
        cross();
        p.drawPolyline(QPolygonF({QPointF(7, 27), QPointF(16, 13), QPointF(25, 27)}));
        break;
    case kMortarCarrier:
        p.setBrush(Qt::black);
        p.drawEllipse(QPointF(16, 24), 2, 2);
        p.drawLine(QPointF(16, 22), QPointF(16, 14));
        p.drawPolygon(QPolygonF({QPointF(16, 12), QPointF(13, 16), QPointF(19, 16)}));
        break;
    case kObserverVehicle: p.drawPolygon(QPolygonF({QPointF(16, 13), QPointF(24, 27), QPointF(8, 27)})); break;
    case kAmmunitionCarrier:
        p.drawLine(QPointF(7, 26), QPointF(25, 26));
        p.drawRoundedRect(QRectF(10, 14, 12, 7), 3, 3);
        break;
    case kEngineerVehicle:
        // The engineers' bridge mark.
        p.drawLine(QPointF(8, 17), QPointF(24, 17));
        p.drawLine(QPointF(8, 23), QPointF(24, 23));
        p.drawLine(QPointF(8, 17), QPointF(8, 23));
        p.drawLine(QPointF(16, 17), QPointF(16, 23));
        p.drawLine(QPointF(24, 17), QPointF(24, 23));
        break;
    case kSmokeGenerator:
        p.drawEllipse(QPointF(13, 20), 3, 3);
        p.drawEllipse(QPointF(19, 20), 3, 3);
        break;
    case kMineLayer:
        p.drawLine(QPointF(7, 26), QPointF(25, 26));
        p.setBrush(Qt::black);
        p.drawEllipse(QPointF(16, 19), 3.5, 3.5);
        break;
    case kScoutHelicopter:
        p.drawLine(QPointF(8, 16), QPointF(24, 24));
        p.drawLine(QPointF(8, 24), QPointF(24, 16));
        p.drawLine(QPointF(16, 12), QPointF(16, 28));
        break;
    default: break;
    }
}

// The three frames of a munition's impact, growing from the first.
inline void DrawBurst(QPainter& p, int munition, int stage)
{
    using namespace demo_equipment;
    const QPointF centre(16, 16);
    const double grow = 1.0 + stage;
    switch (munition)
    {
    case kMortarHE:
    case kMortarPGM:  // a guided bomb bursts as a plain one does
        if (stage < 2)
        {
            p.setPen(Outline(QColor(190, 50, 0)));
            p.setBrush(QColor(255, 150, 20));
            p.drawPolygon(Star(centre, 8, 5 * grow + 2, 2 * grow + 1));
            Disc(p, centre, 1.5 * grow, QColor(255, 240, 150), QColor(255, 240, 150));
        }
        else
        {
            Disc(p, centre, 11, QColor(90, 80, 70), QColor(60, 55, 50));
            Disc(p, centre + QPointF(3, -2), 5, QColor(120, 110, 100), QColor(90, 80, 70));
        }
        break;
    case kMortarSmoke: Disc(p, centre, 4 * grow, QColor(225, 225, 225), QColor(170, 170, 170)); break;
    case kMortarIllum:
        p.setPen(Outline(QColor(230, 190, 0)));
        p.setBrush(QColor(255, 245, 150));
        p.drawPolygon(Star(centre, 6, 4 * grow, 1.5 * grow));
        break;
    case kMortarMines:
        for (int k = 0; k < 3 * (stage + 1); ++k)
        {
            const double a = k * 2.39996;  // spread the mines as they fall
            const double r = 3.0 + 1.4 * k;
            Disc(p, centre + QPointF(r * std::cos(a), r * std::sin(a)), 1.5, QColor(40, 90, 30), QColor(20, 50, 15));
        }
        break;
    case kMortarChemical: Disc(p, centre, 4 * grow, QColor(170, 80, 200), QColor(120, 40, 150)); break;
    default: break;
    }
}

// One member of the picture-icon list: a small vehicle picture (the own
// tank and carrier first, the enemy's last), or a rounded frame in the
// side's colour with one bar (platoon) or two (company) above it; inside
// the frame the key shows the picture through.
inline void DrawAltMember(QPainter& p, int member)
{
    using namespace demo_equipment;
    const bool bEnemyPicture = member >= 6;
    if (member < 2 || bEnemyPicture)
    {
        const bool bTank = member % 2 == 0;
        p.save();
        p.translate(16, 17);
        p.scale(0.6, 0.6);
        if (bEnemyPicture)
            DrawVehicleType(p, bTank ? kEnemyTank : kEnemyCarrier, Look::Normal);
        else
            DrawVehicleType(p, bTank ? kTank : kInfantryCarrier, Look::Normal);
        if (bTank)
            DrawTurret(p, PaletteFor(Look::Normal, bEnemyPicture));
        p.restore();
        return;
    }
    const bool enemy = member >= 4;
    const bool company = member % 2 == 1;
    const QColor colour = enemy ? QColor(210, 40, 40) : QColor(40, 90, 220);
    p.setBrush(Qt::NoBrush);
    p.setPen(Outline(colour, 3));
    p.drawRoundedRect(QRectF(3, 6, 26, 23), 5, 5);
    p.setBrush(colour);
    p.setPen(Qt::NoPen);
    if (company)
    {
        p.drawRect(QRectF(11, 0, 3, 5));
        p.drawRect(QRectF(18, 0, 3, 5));
    }
    else
    {
        p.drawRect(QRectF(14, 0, 4, 5));
    }
}

// ---------------------------------------------------------------------------
// Sheets

// Thirty-six frames of one picture, turned 10 degrees further each frame.
inline QImage HeadingSheet(const std::function<void(QPainter&)>& draw)
{
    QImage image(kHeadingColumns * kVehicleFrame, kHeadingRows * kVehicleFrame, QImage::Format_RGB32);
    image.fill(kKey);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int k = 0; k < kHeadings; ++k)
    {
        p.save();
        p.translate((k % kHeadingColumns) * kVehicleFrame + kVehicleFrame / 2,
                    (k / kHeadingColumns) * kVehicleFrame + kVehicleFrame / 2);
        p.setClipRect(-kVehicleFrame / 2, -kVehicleFrame / 2, kVehicleFrame, kVehicleFrame);
        p.rotate(k * 10.0);
        p.scale(kPictureScale, kPictureScale);
        draw(p);
        p.restore();
    }
    p.end();
    return image;
}

inline int ListColumns(int n) { return n < 5 ? n : 5; }
inline int ListRows(int n) { return n / 5 + (n % 5 != 0 ? 1 : 0); }

// A list sheet of n frames of frameSize pixels; draw(k) paints member k in
// the units of a 32-unit frame.
inline QImage ListSheet(int n, int frameSize, const std::function<void(QPainter&, int)>& draw)
{
    QImage image(ListColumns(n) * frameSize, ListRows(n) * frameSize, QImage::Format_RGB32);
    image.fill(kKey);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int k = 0; k < n; ++k)
    {
        p.save();
        p.translate((k % ListColumns(n)) * frameSize, (k / ListColumns(n)) * frameSize);
        p.setClipRect(0, 0, frameSize, frameSize);
        p.scale(frameSize / 32.0, frameSize / 32.0);
        draw(p, k);
        p.restore();
    }
    p.end();
    return image;
}

// One bitmap to write and the piece that names it.
struct Sheet
{
    QImage image;
    CPiece* pPiece;
};

// Every sheet of the demo's pieces, in the piece array's order: per vehicle
// type its picture and (an own type) its hit and destroyed pictures; the
// capabilities' pictures, the enemy's turret and open carrier last;
// the NATO list; the burst list. The pieces are new; the caller owns them.
inline std::vector<Sheet> BuildSheets()
{
    using namespace demo_equipment;
    std::vector<Sheet> sheets;
    // A heading sheet, flagged when it wears the enemy's colours.
    const auto flagged = [&sheets](const char* name, BOOL bEnemyColours, const std::function<void(QPainter&)>& draw)
    {
        sheets.push_back({HeadingSheet(draw), new CPieceRecord(BitmapFileOf(name), name, kHeadingRows, kHeadingColumns,
                                                               kHeadings, bEnemyColours)});
    };
    const auto heading = [&flagged](const char* name, const std::function<void(QPainter&)>& draw)
    { flagged(name, FALSE, draw); };
    for (int type = 0; type < kVehicleCount; ++type)
    {
        const bool bEnemy = IsEnemyType(type);
        flagged(kGraphics[type].piece, bEnemy ? TRUE : FALSE,
                [type](QPainter& p) { DrawVehicleType(p, type, Look::Normal); });
        // The enemy's hit and wrecked looks are its twins' (demo_equipment.h).
        if (bEnemy)
            continue;
        heading(kGraphics[type].hit, [type](QPainter& p) { DrawVehicleType(p, type, Look::Hit); });
        heading(kGraphics[type].destroyed, [type](QPainter& p) { DrawVehicleType(p, type, Look::Destroyed); });
    }
    const Palette normal = PaletteFor(Look::Normal);
    const Palette enemy = PaletteFor(Look::Normal, true);
    heading(kTurretPiece, [normal](QPainter& p) { DrawTurret(p, normal); });
    heading(kCarrierOpenPiece, [normal](QPainter& p) { DrawCarrier(p, normal, true); });
    heading(kMortarEmplacedPiece, [normal](QPainter& p) { DrawMortarCarrier(p, normal, true); });
    flagged(kEnemyTurretPiece, TRUE, [enemy](QPainter& p) { DrawTurret(p, enemy); });
    flagged(kEnemyCarrierOpenPiece, TRUE, [enemy](QPainter& p) { DrawCarrier(p, enemy, true); });
    flagged(kEnemyMortarEmplacedPiece, TRUE, [enemy](QPainter& p) { DrawMortarCarrier(p, enemy, true); });
    for (int stage = 0; stage < 3; ++stage)
        heading(kMortarFlashPieces[stage], [stage](QPainter& p) { DrawFlash(p, stage); });

    // The rotor: frames of a vehicle picture's size, four to a row.
    constexpr int kRotorColumns = 4;
    QImage rotor(kRotorColumns * kVehicleFrame, (kRotorFrames / kRotorColumns) * kVehicleFrame,
                 QImage::Format_RGB32);
    rotor.fill(kKey);
    {
        QPainter p(&rotor);
        p.setRenderHint(QPainter::Antialiasing, false);
        for (int k = 0; k < kRotorFrames; ++k)
        {
            p.save();
            p.translate((k % kRotorColumns) * kVehicleFrame + kVehicleFrame / 2,
                        (k / kRotorColumns) * kVehicleFrame + kVehicleFrame / 2);
            p.setClipRect(-kVehicleFrame / 2, -kVehicleFrame / 2, kVehicleFrame, kVehicleFrame);
            p.scale(kPictureScale, kPictureScale);
            DrawRotor(p, k);
            p.restore();
        }
    }
    sheets.push_back({rotor, new CPieceRecord(BitmapFileOf(kRotorPiece), kRotorPiece, kRotorFrames / kRotorColumns,
                                              kRotorColumns, kRotorFrames)});

    QImage spot(kSmallFrame, kSmallFrame, QImage::Format_RGB32);
    spot.fill(kKey);
    {
        QPainter p(&spot);
        p.setRenderHint(QPainter::Antialiasing, false);
        DrawLaserSpot(p);
    }
    sheets.push_back({spot, new CPieceRecord(BitmapFileOf(kLaserSpotPiece), kLaserSpotPiece, 1, 1, 1)});

    CStringArray natoNames;
    for (const VehicleGraphics& graphics : kGraphics)
        natoNames.Add(graphics.nato);
    sheets.push_back({ListSheet(kVehicleCount, kSymbolFrame, DrawNatoSymbol),
                      new CPieceListRecord(kNatoListFile, kNatoListName, ListRows(kVehicleCount),
                                           ListColumns(kVehicleCount), natoNames)});

    CStringArray altNames;
    for (const char* name :
         {kAltTankPicture, kAltCarrierPicture, kAltFriendlyPlatoonFrame, kAltFriendlyCompanyFrame,
          kAltEnemyPlatoonFrame, kAltEnemyCompanyFrame, kAltEnemyTankPicture, kAltEnemyCarrierPicture})
        altNames.Add(name);
    const int nAlt = altNames.GetSize();
    sheets.push_back({ListSheet(nAlt, kSymbolFrame, DrawAltMember),
                      new CPieceListRecord(kAltListFile, kAltListName, ListRows(nAlt), ListColumns(nAlt), altNames)});

    CStringArray burstNames;
    for (const auto& stages : kBurstGraphics)
        for (const char* name : stages)
            burstNames.Add(name);
    const int nBursts = burstNames.GetSize();
    sheets.push_back(
        {ListSheet(nBursts, kSmallFrame, [](QPainter& p, int k) { DrawBurst(p, k / 3, k % 3); }),
         new CPieceListRecord(kBurstListFile, kBurstListName, ListRows(nBursts), ListColumns(nBursts), burstNames)});
    return sheets;
}

// Writes every bitmap into the data directory and fills the piece array
// that names them; FALSE with the reason when a bitmap cannot be written.
inline BOOL WriteDemoPieces(const CString& dataDir, CPieceArray& pieces, CString& errorText)
{
    pieces.SetFileName(kPieceFile);
    BOOL bWritten = TRUE;
    for (Sheet& sheet : BuildSheets())
    {
        const CString path = JoinPath(dataDir, sheet.pPiece->GetBitmapFile());
        if (bWritten && !sheet.image.save(QString::fromLocal8Bit(path.GetString()), "BMP"))
        {
            errorText = CString("cannot write ") + path;
            bWritten = FALSE;
        }
        pieces.Add(sheet.pPiece);
    }
    return bWritten;
}
}  // namespace demo_pieces
