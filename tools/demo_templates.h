#pragma once
// The HTML templates of the demo's data directory, from which the game
// writes its pages into the saved-game directory, and the logo the
// equipment pages show for a type without a picture of its own.
// Placeholders stand between two asterisks; the game replaces them with
// the values and lists it writes. The templates of page sections (weapon
// tables, kill tables, weapon attributes) are cut to their body when used.

#include "platform/core/Core.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <QString>

namespace demo_templates
{
// The index of the equipment pages that the Vehicle Specs window opens
// on: the link lines of the vehicles, their ammunition and the weapons.
const char* const kIndexTemplate = "<HTML>\r\n"
                                   "<HEAD>\r\n<TITLE>Vehicle Specs</TITLE>\r\n</HEAD>\r\n"
                                   "<BODY BGCOLOR=\"#FFFFFF\">\r\n"
                                   "<H1>Kedravin Equipment</H1>\r\n"
                                   "<H2>Vehicles</H2>\r\n<DIV>*vehicleList*</DIV>\r\n"
                                   "<H2>Ammunition</H2>\r\n<DIV>*ammoList*</DIV>\r\n"
                                   "<H2>Weapons</H2>\r\n<DIV>*weaponList*</DIV>\r\n"
                                   "</BODY>\r\n"
                                   "</HTML>\r\n";

// One vehicle type: its figures, all its weapons and its chassis weapons,
// its kill percentages and its capabilities.
const char* const kVehicleTemplate =
    "<HTML>\r\n"
    "<HEAD>\r\n<TITLE>*name*</TITLE>\r\n</HEAD>\r\n"
    "<BODY BGCOLOR=\"#FFFFFF\">\r\n"
    "<TABLE WIDTH=\"100%\"><TR>\r\n"
    "<TD WIDTH=\"30%\"><IMG SRC=\"*picture*\" WIDTH=\"160\" HEIGHT=\"96\"></TD>\r\n"
    "<TD><H1>*name*</H1></TD>\r\n"
    "</TR></TABLE>\r\n"
    "<H2>Mobility</H2>\r\n"
    "<TABLE BORDER=1 WIDTH=\"100%\">\r\n"
    "<TR><TD>Road speed</TD><TD>*speed*</TD><TD>Sprint speed</TD><TD>*sprint*</TD></TR>\r\n"
    "<TR><TD>Reverse speed</TD><TD>*reverse*</TD><TD>Turn speed</TD><TD>*turnSpeed*</TD></TR>\r\n"
    "<TR><TD>Turn radius</TD><TD>*turnRadius*</TD><TD>Time to move</TD><TD>*timeToMove*</TD></TR>\r\n"
    "</TABLE>\r\n"
    "<H2>Size and sight</H2>\r\n"
    "<TABLE BORDER=1 WIDTH=\"100%\">\r\n"
    "<TR><TD>Height (m)</TD><TD>*height*</TD><TD>Width (m)</TD><TD>*width*</TD></TR>\r\n"
    "<TR><TD>Length (m)</TD><TD>*length*</TD><TD>Weight</TD><TD>*weight*</TD></TR>\r\n"
    "<TR><TD>View range (m)</TD><TD>*viewRange*</TD><TD>Time to defilade</TD><TD>*timeToDefilade*</TD></TR>\r\n"
    "</TABLE>\r\n"
    "<H2>Values</H2>\r\n"
    "<TABLE BORDER=1 WIDTH=\"100%\">\r\n"
    "<TR><TD>Target value</TD><TD>*targetValue*</TD><TD>Threat value</TD><TD>*threatValue*</TD></TR>\r\n"
    "<TR><TD>Protection value</TD><TD>*protectionValue*</TD><TD>NBC detection</TD><TD>*nbcDetectValue*</TD></TR>\r\n"
    "<TR><TD>Against HE</TD><TD>*HE*</TD><TD>Against DPICM</TD><TD>*DPICM*</TD></TR>\r\n"
    "<TR><TD>Against PGM</TD><TD>*pgm*</TD><TD>Against chemical</TD><TD>*chem*</TD></TR>\r\n"
    "<TR><TD>Against nuclear</TD><TD>*nuke*</TD><TD></TD><TD></TD></TR>\r\n"
    "</TABLE>\r\n"
    "<H2>All Weapons</H2>\r\n*totalWeapons*\r\n"
    "<H2>Chassis Weapons</H2>\r\n*chasisWeapons*\r\n"
    "<H2>Kill Percentages</H2>\r\n*percentKillArray*\r\n"
    "<H2>Capabilities</H2>\r\n<DIV>*attributeList*</DIV>\r\n*attributes*\r\n"
    "<P><A HREF=\"index.htm\">Equipment index</A></P>\r\n"
    "</BODY>\r\n"
    "</HTML>\r\n";

// One weapon type with its attributes.
const char* const kWeaponTemplate =
    "<HTML>\r\n"
    "<HEAD>\r\n<TITLE>*name*</TITLE>\r\n</HEAD>\r\n"
    "<BODY BGCOLOR=\"#FFFFFF\">\r\n"
    "<H1>*name*</H1>\r\n"
    "<TABLE BORDER=1 WIDTH=\"100%\">\r\n"
    "<TR><TD>Range (m)</TD><TD>*range*</TD><TD>Penetration</TD><TD>*penetration*</TD></TR>\r\n"
    "<TR><TD>Time to fire</TD><TD>*timeToFire*</TD><TD>Rounds per fire</TD><TD>*roundsPerFire*</TD></TR>\r\n"
    "<TR><TD>Time to reload</TD><TD>*timeToReload*</TD><TD>Rounds to reload</TD><TD>*roundsToReload*</TD></TR>\r\n"
    "<TR><TD>Magnification</TD><TD>*magnification*</TD><TD></TD><TD></TD></TR>\r\n"
    "</TABLE>\r\n"
    "<H2>Attributes</H2>\r\n<DIV>*attributeList*</DIV>\r\n*attributes*\r\n"
    "<P><A HREF=\"index.htm\">Equipment index</A></P>\r\n"
    "</BODY>\r\n"
    "</HTML>\r\n";

// The weapon table of a vehicle page; its rows replace "*weapons*".
const char* const kWeaponTableTemplate =
    "<HTML>\r\n<BODY>\r\n"
    "<TABLE BORDER=1 WIDTH=\"100%\">\r\n"
    "<TR><TH>Weapon</TH><TH>Rounds</TH><TH>IR %</TH><TH>NV %</TH><TH>Left limit</TH><TH>Right limit</TH>"
    "<TH>Suppression radius</TH><TH>C</TH><TH>S</TH></TR>\r\n"
    "*weapons*"
    "</TABLE>\r\n"
    "</BODY>\r\n</HTML>\r\n";

// The kill-percentage table of a vehicle page; its rows replace "*weapons*".
const char* const kKillTableTemplate =
    "<HTML>\r\n<BODY>\r\n"
    "<TABLE BORDER=1 WIDTH=\"100%\">\r\n"
    "<TR><TH>Weapon</TH><TH>Front</TH><TH>Back</TH><TH>Right</TH><TH>Left</TH><TH>Top</TH></TR>\r\n"
    "*weapons*"
    "</TABLE>\r\n"
    "</BODY>\r\n</HTML>\r\n";

// The sections of the three weapon attributes, each under the anchor its
// link in the attribute list names.
const char* const kTimeOfFlightTemplate = "<HTML>\r\n<BODY>\r\n"
                                          "<A NAME=\"timeOfFlight\"></A><H3>Time Of Flight</H3>\r\n"
                                          "<P>Speed: *speed*<BR>Seeks its target: *seekYesNo*</P>\r\n"
                                          "</BODY>\r\n</HTML>\r\n";
const char* const kMinRangeTemplate = "<HTML>\r\n<BODY>\r\n"
                                      "<A NAME=\"minRange\"></A><H3>Minimum Range</H3>\r\n"
                                      "<P>Minimum range (m): *minRange*</P>\r\n"
                                      "</BODY>\r\n</HTML>\r\n";
const char* const kADATemplate = "<HTML>\r\n<BODY>\r\n"
                                 "<A NAME=\"ADA\"></A><H3>Air Defense</H3>\r\n"
                                 "<P>Bonus against rotary wing: *rotaryWingBonus*<BR>"
                                 "Bonus against fixed wing: *fixedWingBonus*</P>\r\n"
                                 "</BODY>\r\n</HTML>\r\n";

const char* const kLogoFile = "kdr_logo.jpg";

// Our own logo: a shield with three chevrons on olive, drawn without text
// so that no font is needed.
inline QImage DrawLogo()
{
    QImage image(160, 96, QImage::Format_RGB32);
    image.fill(QColor(74, 82, 52));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(230, 220, 170), 3));
    p.setBrush(QColor(40, 46, 30));
    const QPolygonF shield({QPointF(56, 10), QPointF(104, 10), QPointF(104, 50), QPointF(80, 86), QPointF(56, 50)});
    p.drawPolygon(shield);
    p.setPen(QPen(QColor(230, 190, 60), 5));
    for (int i = 0; i < 3; ++i)
    {
        const double y = 24 + i * 14;
        p.drawPolyline(QPolygonF({QPointF(66, y + 10), QPointF(80, y), QPointF(94, y + 10)}));
    }
    p.end();
    return image;
}

struct Template
{
    const char* fileName;
    const char* text;
};

const Template kTemplates[] = {
    {"index.htm", kIndexTemplate},
    {"vehicle.htm", kVehicleTemplate},
    {"weapon.htm", kWeaponTemplate},
    {"vehicleWeaponArray.htm", kWeaponTableTemplate},
    {"percentKillArray.htm", kKillTableTemplate},
    {"timeOfFlight.htm", kTimeOfFlightTemplate},
    {"minRange.htm", kMinRangeTemplate},
    {"ada.htm", kADATemplate},
};

inline BOOL WriteDemoTemplates(const CString& dataDir, CString& errorText)
{
    for (const Template& t : kTemplates)
    {
        try
        {
            CFile file(JoinPath(dataDir, t.fileName), CFile::modeCreate | CFile::modeWrite);
            file.Write(t.text, static_cast<UINT>(CString(t.text).GetLength()));
            file.Close();
        }
        catch (const CException& e)
        {
            errorText = e.GetErrorText();
            return FALSE;
        }
    }
    const CString logoPath = JoinPath(dataDir, kLogoFile);
    if (!DrawLogo().save(QString::fromLocal8Bit(logoPath.GetString()), "JPG"))
    {
        errorText = "the logo picture could not be saved as " + logoPath;
        return FALSE;
    }
    return TRUE;
}
}  // namespace demo_templates
