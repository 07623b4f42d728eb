#pragma once
// The HTML templates of the demo's data directory, from which the game
// writes its pages into the saved-game directory, and the logo the
// equipment pages and the mission results page show.
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

// The sections of the capability kinds and of the munition capabilities,
// each under the anchor its link in the capability list names.

const char* const kIndirectFireTemplate =
    "<HTML>\r\n<BODY>\r\n"
    "<A NAME=\"indirectFire\"></A><H3>Indirect Fire</H3>\r\n"
    "<TABLE BORDER=1 WIDTH=\"60%\">\r\n"
    "<TR><TD>Accuracy (%)</TD><TD>*accuracy*</TD></TR>\r\n"
    "<TR><TD>Left limit (mils)</TD><TD>*leftLimit*</TD></TR>\r\n"
    "<TR><TD>Right limit (mils)</TD><TD>*rightLimit*</TD></TR>\r\n"
    "<TR><TD>Compute time</TD><TD>*computeTime*</TD></TR>\r\n"
    "<TR><TD>Traverse time</TD><TD>*traverseTime*</TD></TR>\r\n"
    "<TR><TD>Shot time</TD><TD>*shotTime*</TD></TR>\r\n"
    "<TR><TD>Time of flight</TD><TD>*timeOfFlight*</TD></TR>\r\n"
    "<TR><TD>Smoke radius</TD><TD>*smokeRadius*</TD></TR>\r\n"
    "<TR><TD>Smoke duration</TD><TD>*smokeDuration*</TD></TR>\r\n"
    "<TR><TD>High angle</TD><TD>*haYesNo*</TD></TR>\r\n"
    "<TR><TD>Minimum range</TD><TD>*minRange*</TD></TR>\r\n"
    "</TABLE>\r\n"
    "<H4>Ammunition</H4>\r\n<TABLE BORDER=1 WIDTH=\"60%\">\r\n<TR><TH>Ammunition</TH><TH>Rounds</TH></TR>\r\n*ifAmmo*</TABLE>\r\n"
    "</BODY>\r\n</HTML>\r\n";

const char* const kTurretTemplate =
    "<HTML>\r\n<BODY>\r\n"
    "<A NAME=\"turret\"></A><H3>Turret</H3>\r\n"
    "<TABLE BORDER=1 WIDTH=\"60%\">\r\n"
    "<TR><TD>Turn speed</TD><TD>*turnSpeed*</TD></TR>\r\n"
    "<TR><TD>Left limit (mils)</TD><TD>*leftLimit*</TD></TR>\r\n"
    "<TR><TD>Right limit (mils)</TD><TD>*rightLimit*</TD></TR>\r\n"
    "<TR><TD>Height (m)</TD><TD>*height*</TD></TR>\r\n"
    "<TR><TD>Length (m)</TD><TD>*length*</TD></TR>\r\n"
    "<TR><TD>Width (m)</TD><TD>*width*</TD></TR>\r\n"
    "</TABLE>\r\n"
    "<H4>Turret Weapons</H4>\r\n*turretWeapons*\r\n<H4>Turret Kill Percentages</H4>\r\n*percentKillArray*\r\n"
    "</BODY>\r\n</HTML>\r\n";

const char* const kPersonnelCarrierTemplate =
    "<HTML>\r\n<BODY>\r\n"
    "<A NAME=\"personnelCarrier\"></A><H3>Personnel Carrier</H3>\r\n"
    "<TABLE BORDER=1 WIDTH=\"60%\">\r\n"
    "<TR><TD>Dismounts carried</TD><TD>*numberOfDismounts*</TD></TR>\r\n"
    "<TR><TD>Time to mount</TD><TD>*timeToMount*</TD></TR>\r\n"
    "<TR><TD>Time to dismount</TD><TD>*timeToDismount*</TD></TR>\r\n"
    "<TR><TD>Time to open</TD><TD>*timeToOpen*</TD></TR>\r\n"
    "<TR><TD>Time to close</TD><TD>*timeToClose*</TD></TR>\r\n"
    "</TABLE>\r\n"
    "</BODY>\r\n</HTML>\r\n";

const char* const kEmplacingTemplate =
    "<HTML>\r\n<BODY>\r\n"
    "<A NAME=\"emplacing\"></A><H3>Emplacing</H3>\r\n"
    "<TABLE BORDER=1 WIDTH=\"60%\">\r\n"
    "<TR><TD>Time to emplace</TD><TD>*timeToEmplace*</TD></TR>\r\n"
    "<TR><TD>Time to displace</TD><TD>*timeToDisplace*</TD></TR>\r\n"
    "</TABLE>\r\n"
    "</BODY>\r\n</HTML>\r\n";

const char* const kBreacherTemplate =
    "<HTML>\r\n<BODY>\r\n"
    "<A NAME=\"breaching\"></A><H3>Breaching</H3>\r\n"
    "<TABLE BORDER=1 WIDTH=\"60%\">\r\n"
    "<TR><TD>Breach speed</TD><TD>*breachSpeed*</TD></TR>\r\n"
    "<TR><TD>Breach width (m)</TD><TD>*breachWidth*</TD></TR>\r\n"
    "<TR><TD>Odds of being disabled</TD><TD>*disableOdds*</TD></TR>\r\n"
    "<TR><TD>Obstacles</TD><TD>*obstacleList*</TD></TR>\r\n"
    "</TABLE>\r\n"
    "</BODY>\r\n</HTML>\r\n";

const char* const kEngineerTemplate =
    "<HTML>\r\n<BODY>\r\n"
    "<A NAME=\"engineer\"></A><H3>Engineer</H3>\r\n"
    "<TABLE BORDER=1 WIDTH=\"60%\">\r\n"
    "<TR><TD>Breach width (m)</TD><TD>*breachWidth*</TD></TR>\r\n"
    "<TR><TD>Breach length (m)</TD><TD>*breachLength*</TD></TR>\r\n"
    "<TR><TD>Time to breach</TD><TD>*timeToBreach*</TD></TR>\r\n"
    "<TR><TD>Breaches</TD><TD>*numberBreaches*</TD></TR>\r\n"
    "<TR><TD>Obstacles</TD><TD>*obstacleList*</TD></TR>\r\n"
    "</TABLE>\r\n"
    "</BODY>\r\n</HTML>\r\n";

const char* const kObserverTemplate =
    "<HTML>\r\n<BODY>\r\n"
    "<A NAME=\"observer\"></A><H3>Laser Observer</H3>\r\n"
    "<TABLE BORDER=1 WIDTH=\"60%\">\r\n"
    "<TR><TD>Range (m)</TD><TD>*range*</TD></TR>\r\n"
    "<TR><TD>Range while moving (m)</TD><TD>*movingRange*</TD></TR>\r\n"
    "<TR><TD>Infrared (%)</TD><TD>*percentIR*</TD></TR>\r\n"
    "<TR><TD>Night vision (%)</TD><TD>*percentNightVision*</TD></TR>\r\n"
    "<TR><TD>Coaxial</TD><TD>*coaxial*</TD></TR>\r\n"
    "</TABLE>\r\n"
    "</BODY>\r\n</HTML>\r\n";

const char* const kFDCTemplate =
    "<HTML>\r\n<BODY>\r\n"
    "<A NAME=\"FDC\"></A><H3>Fire Direction Center</H3>\r\n"
    "<TABLE BORDER=1 WIDTH=\"60%\">\r\n"
    "<TR><TD>Fire angle</TD><TD>*highAngle*</TD></TR>\r\n"
    "<TR><TD>Most guns</TD><TD>*maxNumberOfGuns*</TD></TR>\r\n"
    "<TR><TD>Directs</TD><TD>*gunTypes*</TD></TR>\r\n"
    "</TABLE>\r\n"
    "</BODY>\r\n</HTML>\r\n";

const char* const kDFAmmoTemplate =
    "<HTML>\r\n<BODY>\r\n"
    "<A NAME=\"dfAmmo\"></A><H3>Direct Fire Ammo Carrier</H3>\r\n"
    "<TABLE BORDER=1 WIDTH=\"60%\">\r\n<TR><TH>Weapon</TH><TH>Rounds</TH></TR>\r\n*dfAmmo*</TABLE>\r\n"
    "</BODY>\r\n</HTML>\r\n";

const char* const kIFAmmoCarryTemplate =
    "<HTML>\r\n<BODY>\r\n"
    "<A NAME=\"ifAmmo\"></A><H3>Indirect Fire Ammo Carrier</H3>\r\n"
    "<TABLE BORDER=1 WIDTH=\"60%\">\r\n<TR><TH>Ammunition</TH><TH>Rounds</TH></TR>\r\n*ifAmmo*</TABLE>\r\n"
    "</BODY>\r\n</HTML>\r\n";

const char* const kSmokerTemplate =
    "<HTML>\r\n<BODY>\r\n"
    "<A NAME=\"smoker\"></A><H3>Smoke Generator</H3>\r\n"
    "<TABLE BORDER=1 WIDTH=\"60%\">\r\n"
    "<TR><TD>Radius (m)</TD><TD>*radius*</TD></TR>\r\n"
    "<TR><TD>Time to live</TD><TD>*timeToLive*</TD></TR>\r\n"
    "<TR><TD>Infrared (%)</TD><TD>*percentIR*</TD></TR>\r\n"
    "<TR><TD>Burst release</TD><TD>*burstRelease*</TD></TR>\r\n"
    "<TR><TD>Smoke charges</TD><TD>*numberOfSmoke*</TD></TR>\r\n"
    "<TR><TD>Time to release</TD><TD>*timeToRelease*</TD></TR>\r\n"
    "<TR><TD>Total time (min)</TD><TD>*totalTime*</TD></TR>\r\n"
    "</TABLE>\r\n"
    "</BODY>\r\n</HTML>\r\n";

const char* const kFixedWingTemplate =
    "<HTML>\r\n<BODY>\r\n"
    "<A NAME=\"fixedWing\"></A><H3>Fixed Wing Aircraft</H3>\r\n"
    "<TABLE BORDER=1 WIDTH=\"60%\">\r\n"
    "<TR><TD>Altitude</TD><TD>*altitude*</TD></TR>\r\n"
    "<TR><TD>Sprint altitude</TD><TD>*sprintAltitude*</TD></TR>\r\n"
    "<TR><TD>VTOL</TD><TD>*VTOL*</TD></TR>\r\n"
    "</TABLE>\r\n"
    "</BODY>\r\n</HTML>\r\n";

const char* const kRotaryWingTemplate =
    "<HTML>\r\n<BODY>\r\n"
    "<A NAME=\"rotaryWing\"></A><H3>Rotary Wing Aircraft</H3>\r\n"
    "<TABLE BORDER=1 WIDTH=\"60%\">\r\n"
    "<TR><TD>Altitude</TD><TD>*altitude*</TD></TR>\r\n"
    "<TR><TD>Sprint altitude</TD><TD>*sprintAltitude*</TD></TR>\r\n"
    "<TR><TD>Pops up from defilade</TD><TD>*defiladePopup*</TD></TR>\r\n"
    "<TR><TD>Defilade altitude</TD><TD>*defiladeAltitude*</TD></TR>\r\n"
    "<TR><TD>Lands when stopped</TD><TD>*landWhenStopped*</TD></TR>\r\n"
    "</TABLE>\r\n"
    "</BODY>\r\n</HTML>\r\n";

const char* const kMineLayerTemplate =
    "<HTML>\r\n<BODY>\r\n"
    "<A NAME=\"mineLayer\"></A><H3>Mine Layer</H3>\r\n"
    "<TABLE BORDER=1 WIDTH=\"60%\">\r\n"
    "<TR><TD>Time to deploy</TD><TD>*timeToDeploy*</TD></TR>\r\n"
    "<TR><TD>Maximum range (m)</TD><TD>*maxRange*</TD></TR>\r\n"
    "<TR><TD>Mines</TD><TD>*numberOfMines*</TD></TR>\r\n"
    "<TR><TD>Field length (m)</TD><TD>*length*</TD></TR>\r\n"
    "<TR><TD>Field width (m)</TD><TD>*width*</TD></TR>\r\n"
    "<TR><TD>Density</TD><TD>*density*</TD></TR>\r\n"
    "<TR><TD>Uses a minimum range</TD><TD>*useMinRange*</TD></TR>\r\n"
    "</TABLE>\r\n"
    "</BODY>\r\n</HTML>\r\n";

const char* const kIFSmokeTemplate =
    "<HTML>\r\n<BODY>\r\n"
    "<A NAME=\"smoke\"></A><H3>Smoke</H3>\r\n"
    "<TABLE BORDER=1 WIDTH=\"60%\">\r\n"
    "<TR><TD>Radius (m)</TD><TD>*radius*</TD></TR>\r\n"
    "<TR><TD>Duration</TD><TD>*duration*</TD></TR>\r\n"
    "<TR><TD>Infrared (%)</TD><TD>*percentIR*</TD></TR>\r\n"
    "</TABLE>\r\n"
    "</BODY>\r\n</HTML>\r\n";

const char* const kIFIllumTemplate =
    "<HTML>\r\n<BODY>\r\n"
    "<A NAME=\"illum\"></A><H3>Illumination</H3>\r\n"
    "<TABLE BORDER=1 WIDTH=\"60%\">\r\n"
    "<TR><TD>Radius (m)</TD><TD>*radius*</TD></TR>\r\n"
    "<TR><TD>Duration</TD><TD>*duration*</TD></TR>\r\n"
    "<TR><TD>Infrared (%)</TD><TD>*percentIR*</TD></TR>\r\n"
    "</TABLE>\r\n"
    "</BODY>\r\n</HTML>\r\n";

const char* const kIFFASCAMTemplate =
    "<HTML>\r\n<BODY>\r\n"
    "<A NAME=\"FASCAM\"></A><H3>FASCAM</H3>\r\n"
    "<TABLE BORDER=1 WIDTH=\"60%\">\r\n"
    "<TR><TD>Density</TD><TD>*density*</TD></TR>\r\n"
    "<TR><TD>Length (m)</TD><TD>*length*</TD></TR>\r\n"
    "<TR><TD>Width (m)</TD><TD>*width*</TD></TR>\r\n"
    "<TR><TD>Limited duration</TD><TD>*limitedDuration*</TD></TR>\r\n"
    "<TR><TD>Duration</TD><TD>*duration*</TD></TR>\r\n"
    "</TABLE>\r\n"
    "</BODY>\r\n</HTML>\r\n";

const char* const kIFChemTemplate =
    "<HTML>\r\n<BODY>\r\n"
    "<A NAME=\"chem\"></A><H3>Chemical Agent</H3>\r\n"
    "<TABLE BORDER=1 WIDTH=\"60%\">\r\n"
    "<TR><TD>Radius (m)</TD><TD>*radius*</TD></TR>\r\n"
    "<TR><TD>Density</TD><TD>*density*</TD></TR>\r\n"
    "<TR><TD>Duration (min)</TD><TD>*duration*</TD></TR>\r\n"
    "</TABLE>\r\n"
    "</BODY>\r\n</HTML>\r\n";

const char* const kIFPGMTemplate =
    "<HTML>\r\n<BODY>\r\n"
    "<A NAME=\"PGM\"></A><H3>Precision Guided Munition</H3>\r\n"
    "<TABLE BORDER=1 WIDTH=\"60%\">\r\n"
    "<TR><TD>Foot print (m)</TD><TD>*footPrint*</TD></TR>\r\n"
    "<TR><TD>Laser time</TD><TD>*laserTime*</TD></TR>\r\n"
    "<TR><TD>Maximum angle</TD><TD>*maxAngleT*</TD></TR>\r\n"
    "</TABLE>\r\n"
    "</BODY>\r\n</HTML>\r\n";

// One munition's page. Only its body is written, with its capabilities'
// links and sections.
const char* const kIFAmmoTemplate = "<HTML>\r\n"
                                    "<HEAD>\r\n<TITLE>*name*</TITLE>\r\n</HEAD>\r\n"
                                    "<BODY BGCOLOR=\"#FFFFFF\">\r\n"
                                    "<H1>*name*</H1>\r\n"
                                    "<TABLE BORDER=1 WIDTH=\"100%\">\r\n"
                                    "<TR><TD>Range (m)</TD><TD>*range*</TD><TD>Type</TD><TD>*munitionType*</TD></TR>\r\n"
                                    "<TR><TD>Blast radius (m)</TD><TD>*blastRadius*</TD><TD>Lethality (%)</TD>"
                                    "<TD>*lethality*</TD></TR>\r\n"
                                    "</TABLE>\r\n"
                                    "<H2>Effects</H2>\r\n<DIV>*attributeList*</DIV>\r\n*attributes*\r\n"
                                    "<P><A HREF=\"index.htm\">Equipment index</A></P>\r\n"
                                    "</BODY>\r\n"
                                    "</HTML>\r\n";

// The mission results page: the outcome, the debriefing, the numbered
// objectives and their status, and the unit counts (the counts template's
// body).
const char* const kResultsTemplate = "<HTML>\r\n"
                                     "<HEAD>\r\n<TITLE>Mission Results</TITLE>\r\n</HEAD>\r\n"
                                     "<BODY BGCOLOR=\"#FFFFFF\">\r\n"
                                     "<TABLE WIDTH=\"100%\"><TR>\r\n"
                                     "<TD WIDTH=\"30%\"><IMG SRC=\"*picture*\" WIDTH=\"160\" HEIGHT=\"96\"></TD>\r\n"
                                     "<TD><H1>*name*</H1></TD>\r\n"
                                     "</TR></TABLE>\r\n"
                                     "<H2>*completeStatus*</H2>\r\n"
                                     "<P>*completeMessage*</P>\r\n"
                                     "<P>*victoryLoss*</P>\r\n"
                                     "<H2>Objectives</H2>\r\n<DIV>*objectives*</DIV>\r\n"
                                     "<H2>Results</H2>\r\n<DIV>*results*</DIV>\r\n"
                                     "<H2>Forces</H2>\r\n*counts*\r\n"
                                     "</BODY>\r\n"
                                     "</HTML>\r\n";

// The unit-count tables of the results page: a row per vehicle type with
// its number at the start and its number left.
const char* const kCountsTemplate =
    "<HTML>\r\n<BODY>\r\n"
    "<H3>Friendly</H3>\r\n"
    "<TABLE BORDER=1 WIDTH=\"58%\">\r\n"
    "<TR><TH>Type</TH><TH>Start</TH><TH>Remaining</TH></TR>\r\n"
    "*friendly*"
    "</TABLE>\r\n"
    "<H3>Enemy</H3>\r\n"
    "<TABLE BORDER=1 WIDTH=\"58%\">\r\n"
    "<TR><TH>Type</TH><TH>Start</TH><TH>Remaining</TH></TR>\r\n"
    "*enemy*"
    "</TABLE>\r\n"
    "<H3>Neutral</H3>\r\n"
    "<TABLE BORDER=1 WIDTH=\"58%\">\r\n"
    "<TR><TH>Type</TH><TH>Start</TH><TH>Remaining</TH></TR>\r\n"
    "*neutral*"
    "</TABLE>\r\n"
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
    {"indirectFire.htm", kIndirectFireTemplate},
    {"turret.htm", kTurretTemplate},
    {"personnelCarrier.htm", kPersonnelCarrierTemplate},
    {"emplacing.htm", kEmplacingTemplate},
    {"breacher.htm", kBreacherTemplate},
    {"engineer.htm", kEngineerTemplate},
    {"observer.htm", kObserverTemplate},
    {"FDC.htm", kFDCTemplate},
    {"dfAmmo.htm", kDFAmmoTemplate},
    {"ifAmmoCarry.htm", kIFAmmoCarryTemplate},
    {"smoker.htm", kSmokerTemplate},
    {"fixedWing.htm", kFixedWingTemplate},
    {"rotaryWing.htm", kRotaryWingTemplate},
    {"mineLayer.htm", kMineLayerTemplate},
    {"ifSmoke.htm", kIFSmokeTemplate},
    {"ifIllum.htm", kIFIllumTemplate},
    {"ifFASCAM.htm", kIFFASCAMTemplate},
    {"ifChem.htm", kIFChemTemplate},
    {"ifPGM.htm", kIFPGMTemplate},
    {"ifAmmo.htm", kIFAmmoTemplate},
    {"results.htm", kResultsTemplate},
    {"counts.htm", kCountsTemplate},
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
