#include "database/VCapKinds.h"

#include "database/DatabaseSupport.h"
#include "database/HTMLPage.h"
#include "database/KDRDatabase.h"
#include "platform/core/Archive.h"
#include "platform/core/Rounding.h"
#include "shell/SoundService.h"

IMPLEMENT_SERIAL(CVCapDismount, CVehicleCapability, 1)
IMPLEMENT_SERIAL(CVCapPersonnelCarrier, CVehicleCapability, 1)
IMPLEMENT_SERIAL(CVCapEmplace, CVehicleCapability, 1)
IMPLEMENT_SERIAL(CVCapBreacher, CVehicleCapability, 1)
IMPLEMENT_SERIAL(CVCapEngineer, CVehicleCapability, 1)
IMPLEMENT_SERIAL(CVCapObserver, CVehicleCapability, 1)
IMPLEMENT_SERIAL(CVCapFDC, CVehicleCapability, 1)
IMPLEMENT_SERIAL(CVCapSmoker, CVehicleCapability, 1)
IMPLEMENT_SERIAL(CVCapFixedWing, CVehicleCapability, 1)
IMPLEMENT_SERIAL(CVCapRotaryWing, CVehicleCapability, 1)
IMPLEMENT_SERIAL(CVCapMineLayer, CVehicleCapability, 1)

namespace
{
// Distances the pages show in metres are stored in tens of metres.
constexpr int PAGE_DISTANCE_SCALE = 10;
constexpr double SECONDS_PER_MINUTE = 60.0;
const char* const FONT_OPEN = "<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\">";
const char* const FONT_LINE_CLOSE = "</FONT></FONT><BR>\r\n";

const char* YesNo(BOOL flag) { return flag ? "YES" : "NO"; }
}  // namespace

CString MakeObstacleList(int obstacleTypes)
{
    struct Obstacle
    {
        int bit;
        const char* word;
    };
    static const Obstacle kOrder[] = {{OBSTACLE_MINES, "Mines"},
                                      {OBSTACLE_WIRE, "Wire"},
                                      {OBSTACLE_TANK_DITCH, "Tank Ditches"},
                                      {OBSTACLE_ROAD_CRATER, "Road Craters"}};
    CString strList;
    for (const Obstacle& obstacle : kOrder)
    {
        if (obstacleTypes & obstacle.bit)
            strList += CString(FONT_OPEN) + obstacle.word + FONT_LINE_CLOSE;
    }
    return strList;
}

// ---------------------------------------------------------------------------
// Dismount

CString CVCapDismount::WriteHTMLLink(CKDRDatabase*) { return MakeAnchorLink("top", "Dismount"); }

// ---------------------------------------------------------------------------
// Personnel carrier

void CVCapPersonnelCarrier::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        for (int value : {m_nTimeToMount, m_nTimeToDismount, m_nNumberOfDismounts, m_nTimeToOpen, m_nTimeToClose})
            StoreWord(ar, value);
        ar << m_strOpenGraphic;
    }
    else
    {
        for (int* pValue :
             {&m_nTimeToMount, &m_nTimeToDismount, &m_nNumberOfDismounts, &m_nTimeToOpen, &m_nTimeToClose})
            *pValue = LoadWord(ar);
        ar >> m_strOpenGraphic;
    }
}

CString CVCapPersonnelCarrier::WriteHTMLLink(CKDRDatabase*)
{
    return MakeAnchorLink("personnelCarrier", "Personnel Carrier");
}

CString CVCapPersonnelCarrier::WriteHTMLPage(CKDRDatabase* pDatabase)
{
    CHTMLPage page;
    if (pDatabase == nullptr || pDatabase->GetWeaponArray() == nullptr ||
        !LoadSection(page, "personnelCarrier.htm", pDatabase))
        return CString();
    page.ReplaceTagInt("*timeToOpen*", m_nTimeToOpen);
    page.ReplaceTagInt("*timeToMount*", m_nTimeToMount);
    page.ReplaceTagInt("*timeToDismount*", m_nTimeToDismount);
    page.ReplaceTagInt("*timeToClose*", m_nTimeToClose);
    page.ReplaceTagInt("*numberOfDismounts*", m_nNumberOfDismounts);
    return page.GetText();
}

BOOL CVCapPersonnelCarrier::CheckGraphics(CString& report, CPieceArray* pPieces)
{
    return CheckPiece(report, pPieces, "Personnel Carrier Open Graphic", m_strOpenGraphic);
}

// ---------------------------------------------------------------------------
// Emplace

void CVCapEmplace::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        StoreWord(ar, m_nTimeToEmplace);
        StoreWord(ar, m_nTimeToDisplace);
        StoreFlag(ar, m_bSpare);
        ar << m_strGraphic;
    }
    else
    {
        m_nTimeToEmplace = LoadWord(ar);
        m_nTimeToDisplace = LoadWord(ar);
        m_bSpare = LoadWord(ar) != 0;
        ar >> m_strGraphic;
    }
}

CString CVCapEmplace::WriteHTMLLink(CKDRDatabase*) { return MakeAnchorLink("emplacing", "Emplacing"); }

CString CVCapEmplace::WriteHTMLPage(CKDRDatabase* pDatabase)
{
    CHTMLPage page;
    if (pDatabase == nullptr || !LoadSection(page, "emplacing.htm", pDatabase))
        return CString();
    page.ReplaceTagInt("*timeToEmplace*", m_nTimeToEmplace);
    page.ReplaceTagInt("*timeToDisplace*", m_nTimeToDisplace);
    return page.GetText();
}

BOOL CVCapEmplace::CheckGraphics(CString& report, CPieceArray* pPieces)
{
    return CheckPiece(report, pPieces, "Emplace Graphic", m_strGraphic);
}

// ---------------------------------------------------------------------------
// Breacher

void CVCapBreacher::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << m_fBreachSpeed;
        StoreWord(ar, m_nBreachWidth);
        StoreWord(ar, m_nObstacleTypes);
        StoreWord(ar, m_nDisableOdds);
    }
    else
    {
        ar >> m_fBreachSpeed;
        m_nBreachWidth = LoadWord(ar);
        m_nObstacleTypes = LoadWord(ar);
        m_nDisableOdds = LoadWord(ar);
    }
}

CString CVCapBreacher::WriteHTMLLink(CKDRDatabase*) { return MakeAnchorLink("breaching", "Breaching"); }

CString CVCapBreacher::WriteHTMLPage(CKDRDatabase* pDatabase)
{
    CHTMLPage page;
    if (pDatabase == nullptr || !LoadSection(page, "breacher.htm", pDatabase))
        return CString();
    page.ReplaceTagFloat("*breachSpeed*", m_fBreachSpeed);
    page.ReplaceTagInt("*breachWidth*", m_nBreachWidth * PAGE_DISTANCE_SCALE);
    page.ReplaceTagInt("*disableOdds*", m_nDisableOdds);
    page.ReplaceTag("*obstacleList*", MakeObstacleList(m_nObstacleTypes));
    return page.GetText();
}

// ---------------------------------------------------------------------------
// Engineer

void CVCapEngineer::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        for (int value : {m_nBreachLength, m_nBreachWidth, m_nObstacleTypes, m_nTimeToBreach, m_nNumberOfBreaches})
            StoreWord(ar, value);
        ar << m_strBreachSound << m_strBreachingGraphic << m_strNoBreachesGraphic;
    }
    else
    {
        for (int* pValue :
             {&m_nBreachLength, &m_nBreachWidth, &m_nObstacleTypes, &m_nTimeToBreach, &m_nNumberOfBreaches})
            *pValue = LoadWord(ar);
        ar >> m_strBreachSound >> m_strBreachingGraphic >> m_strNoBreachesGraphic;
    }
}

CString CVCapEngineer::WriteHTMLLink(CKDRDatabase*) { return MakeAnchorLink("engineer", "Engineer"); }

CString CVCapEngineer::WriteHTMLPage(CKDRDatabase* pDatabase)
{
    CHTMLPage page;
    if (pDatabase == nullptr || !LoadSection(page, "engineer.htm", pDatabase))
        return CString();
    page.ReplaceTagInt("*breachWidth*", m_nBreachWidth * PAGE_DISTANCE_SCALE);
    page.ReplaceTagInt("*breachLength*", m_nBreachLength * PAGE_DISTANCE_SCALE);
    page.ReplaceTagInt("*timeToBreach*", m_nTimeToBreach);
    page.ReplaceTagInt("*numberBreaches*", m_nNumberOfBreaches);
    page.ReplaceTag("*obstacleList*", MakeObstacleList(m_nObstacleTypes));
    return page.GetText();
}

BOOL CVCapEngineer::CheckGraphics(CString& report, CPieceArray* pPieces)
{
    BOOL bFound = CheckPiece(report, pPieces, "Engineer Breaching Graphic ", m_strBreachingGraphic);
    bFound |= CheckPiece(report, pPieces, "Engineer No Breaches Available Graphic ", m_strNoBreachesGraphic);
    return bFound;
}

BOOL CVCapEngineer::CheckSounds(CString& report)
{
    return CheckSound(report, SOUND_KIND_VEHICLE, "Engineer Breach Sound", m_strBreachSound);
}

// ---------------------------------------------------------------------------
// Observer

void CVCapObserver::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        StoreWord(ar, m_nRange);
        StoreWord(ar, m_nMovingRange);
        ar << m_strLaserSpotGraphic;
        for (int value : {m_nSpare1, m_nSpare2, m_nPercentIR, m_nPercentNightVision})
            StoreWord(ar, value);
        StoreFlag(ar, m_bCoaxial);
    }
    else
    {
        m_nRange = LoadWord(ar);
        m_nMovingRange = LoadWord(ar);
        ar >> m_strLaserSpotGraphic;
        for (int* pValue : {&m_nSpare1, &m_nSpare2, &m_nPercentIR, &m_nPercentNightVision})
            *pValue = LoadWord(ar);
        m_bCoaxial = LoadWord(ar) != 0;
    }
}

CString CVCapObserver::WriteHTMLLink(CKDRDatabase*) { return MakeAnchorLink("observer", "Laser Observer"); }

CString CVCapObserver::WriteHTMLPage(CKDRDatabase* pDatabase)
{
    CHTMLPage page;
    if (pDatabase == nullptr || !LoadSection(page, "observer.htm", pDatabase))
        return CString();
    page.ReplaceTagInt("*range*", m_nRange * PAGE_DISTANCE_SCALE);
    page.ReplaceTagInt("*movingRange*", m_nMovingRange * PAGE_DISTANCE_SCALE);
    page.ReplaceTagInt("*percentIR*", m_nPercentIR);
    page.ReplaceTagInt("*percentNightVision*", m_nPercentNightVision);
    page.ReplaceTag("*coaxial*", YesNo(m_bCoaxial));
    return page.GetText();
}

BOOL CVCapObserver::CheckGraphics(CString& report, CPieceArray* pPieces)
{
    return CheckPiece(report, pPieces, "Observer Laser Spot Graphic ", m_strLaserSpotGraphic);
}

// ---------------------------------------------------------------------------
// Fire direction centre

void CVCapFDC::Serialize(CArchive& ar)
{
    m_gunTypes.Serialize(ar);
    if (ar.IsStoring())
    {
        StoreWord(ar, m_nFireAngle);
        StoreWord(ar, m_nMaxNumberOfGuns);
    }
    else
    {
        m_nFireAngle = LoadWord(ar);
        m_nMaxNumberOfGuns = LoadWord(ar);
    }
}

CString CVCapFDC::WriteHTMLLink(CKDRDatabase*) { return MakeAnchorLink("FDC", "Fire Direction Center"); }

CString CVCapFDC::WriteHTMLPage(CKDRDatabase* pDatabase)
{
    CHTMLPage page;
    if (pDatabase == nullptr || !LoadSection(page, "FDC.htm", pDatabase))
        return CString();
    const char* angle = m_nFireAngle == kLowAngle    ? "Low Angle Fire"
                        : m_nFireAngle == kHighAngle ? "High Angle Fire"
                                                     : "Both";
    page.ReplaceTag("*highAngle*", angle);
    if (m_nMaxNumberOfGuns <= 0)
        page.ReplaceTag("*maxNumberOfGuns*", "No Maximum");
    else
        page.ReplaceTagInt("*maxNumberOfGuns*", m_nMaxNumberOfGuns);
    CString strGuns;
    for (const CString& gunType : m_gunTypes)
        strGuns += MakeLinkLine(CHTMLPage::MakePageName(gunType), gunType);
    page.ReplaceTag("*gunTypes*", strGuns);
    return page.GetText();
}

// ---------------------------------------------------------------------------
// Smoke generator

void CVCapSmoker::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << m_fRadius;
        for (int value : {m_nTimeToLive, m_nPercentIR, m_nTimeToRelease, m_nNumberOfSmoke})
            StoreWord(ar, value);
        StoreFlag(ar, m_bBurstRelease);
    }
    else
    {
        ar >> m_fRadius;
        for (int* pValue : {&m_nTimeToLive, &m_nPercentIR, &m_nTimeToRelease, &m_nNumberOfSmoke})
            *pValue = LoadWord(ar);
        m_bBurstRelease = LoadWord(ar) != 0;
    }
}

CString CVCapSmoker::WriteHTMLLink(CKDRDatabase*) { return MakeAnchorLink("smoker", "Smoke Generator"); }

CString CVCapSmoker::WriteHTMLPage(CKDRDatabase* pDatabase)
{
    CHTMLPage page;
    if (pDatabase == nullptr || !LoadSection(page, "smoker.htm", pDatabase))
        return CString();
    page.ReplaceTagFloat("*radius*", m_fRadius * PAGE_DISTANCE_SCALE);
    page.ReplaceTagInt("*timeToLive*", m_nTimeToLive);
    page.ReplaceTagInt("*percentIR*", m_nPercentIR);
    if (m_bBurstRelease)
    {
        page.ReplaceTag("*burstRelease*", "YES");
        page.ReplaceTagInt("*numberOfSmoke*", m_nNumberOfSmoke);
        page.ReplaceTag("*timeToRelease*", "N/A");
        page.ReplaceTag("*totalTime*", "N/A");
    }
    else
    {
        // Minutes to release them all, one after another.
        page.ReplaceTag("*burstRelease*", "NO");
        page.ReplaceTag("*numberOfSmoke*", "N/A");
        page.ReplaceTagInt("*timeToRelease*", m_nTimeToRelease);
        page.ReplaceTagInt("*totalTime*",
                           RoundHalfUp(static_cast<double>(m_nNumberOfSmoke) * m_nTimeToRelease / SECONDS_PER_MINUTE));
    }
    return page.GetText();
}

// ---------------------------------------------------------------------------
// Fixed wing

void CVCapFixedWing::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        StoreWord(ar, m_nAltitude);
        StoreWord(ar, m_nSprintAltitude);
        StoreFlag(ar, m_bVTOL);
        ar << m_strName1 << m_strName2;
    }
    else
    {
        m_nAltitude = LoadWord(ar);
        m_nSprintAltitude = LoadWord(ar);
        m_bVTOL = LoadWord(ar) != 0;
        ar >> m_strName1 >> m_strName2;
    }
}

CString CVCapFixedWing::WriteHTMLLink(CKDRDatabase*) { return MakeAnchorLink("fixedWing", "Fixed Wing Aircraft"); }

CString CVCapFixedWing::WriteHTMLPage(CKDRDatabase* pDatabase)
{
    CHTMLPage page;
    if (pDatabase == nullptr || !LoadSection(page, "fixedWing.htm", pDatabase))
        return CString();
    page.ReplaceTagInt("*altitude*", m_nAltitude);
    page.ReplaceTagInt("*sprintAltitude*", m_nSprintAltitude);
    page.ReplaceTag("*VTOL*", YesNo(m_bVTOL));
    return page.GetText();
}

// ---------------------------------------------------------------------------
// Rotary wing

void CVCapRotaryWing::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        StoreWord(ar, m_nAltitude);
        StoreWord(ar, m_nSprintAltitude);
        StoreWord(ar, m_nDefiladeAltitude);
        StoreFlag(ar, m_bDefiladePopup);
        StoreFlag(ar, m_bLandWhenStopped);
        ar << m_strName;
    }
    else
    {
        m_nAltitude = LoadWord(ar);
        m_nSprintAltitude = LoadWord(ar);
        m_nDefiladeAltitude = LoadWord(ar);
        m_bDefiladePopup = LoadWord(ar) != 0;
        m_bLandWhenStopped = LoadWord(ar) != 0;
        ar >> m_strName;
    }
}

CString CVCapRotaryWing::WriteHTMLLink(CKDRDatabase*) { return MakeAnchorLink("rotaryWing", "Rotary Wing Aircraft"); }

CString CVCapRotaryWing::WriteHTMLPage(CKDRDatabase* pDatabase)
{
    CHTMLPage page;
    if (pDatabase == nullptr || !LoadSection(page, "rotaryWing.htm", pDatabase))
        return CString();
    page.ReplaceTagInt("*altitude*", m_nAltitude);
    page.ReplaceTagInt("*sprintAltitude*", m_nSprintAltitude);
    page.ReplaceTag("*defiladePopup*", YesNo(m_bDefiladePopup));
    if (m_bDefiladePopup)
        page.ReplaceTagInt("*defiladeAltitude*", m_nDefiladeAltitude);
    else
        page.ReplaceTag("*defiladeAltitude*", "N/A");
    page.ReplaceTag("*landWhenStopped*", YesNo(m_bLandWhenStopped));
    return page.GetText();
}

// ---------------------------------------------------------------------------
// Mine layer

void CVCapMineLayer::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        StoreWord(ar, m_nTimeToDeploy);
        StoreFlag(ar, m_bUseMinRange);
        for (int value : {m_nMaxRange, m_nLength, m_nWidth, m_nDensity})
            StoreWord(ar, value);
        StoreFlag(ar, m_bSpare);
        StoreWord(ar, m_nSpare);
        StoreWord(ar, m_nNumberOfMines);
    }
    else
    {
        m_nTimeToDeploy = LoadWord(ar);
        m_bUseMinRange = LoadWord(ar) != 0;
        for (int* pValue : {&m_nMaxRange, &m_nLength, &m_nWidth, &m_nDensity})
            *pValue = LoadWord(ar);
        m_bSpare = LoadWord(ar) != 0;
        m_nSpare = LoadWord(ar);
        m_nNumberOfMines = LoadWord(ar);
    }
}

CString CVCapMineLayer::WriteHTMLLink(CKDRDatabase*) { return MakeAnchorLink("mineLayer", "Mine Layer"); }

CString CVCapMineLayer::WriteHTMLPage(CKDRDatabase* pDatabase)
{
    CHTMLPage page;
    if (pDatabase == nullptr || !LoadSection(page, "mineLayer.htm", pDatabase))
        return CString();
    page.ReplaceTagInt("*timeToDeploy*", m_nTimeToDeploy);
    page.ReplaceTagInt("*maxRange*", m_nMaxRange * PAGE_DISTANCE_SCALE);
    page.ReplaceTagInt("*numberOfMines*", m_nNumberOfMines);
    page.ReplaceTagInt("*length*", m_nLength * PAGE_DISTANCE_SCALE);
    page.ReplaceTagInt("*width*", m_nWidth * PAGE_DISTANCE_SCALE);
    page.ReplaceTagInt("*density*", m_nDensity);
    page.ReplaceTag("*useMinRange*", YesNo(m_bUseMinRange));
    return page.GetText();
}
