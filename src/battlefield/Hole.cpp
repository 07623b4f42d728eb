#include "battlefield/Hole.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/HoleDlg.h"
#include "battlefield/KDRGameMap.h"
#include "database/Piece.h"
#include "database/PieceArray.h"
#include "platform/core/Archive.h"
#include "platform/core/Rounding.h"
#include "platform/ui/Display.h"
#include "shell/DrawService.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CHoleCapability, CObject, 1)
IMPLEMENT_SERIAL(CHoleCapArray, CObArray, 1)
IMPLEMENT_SERIAL(CHole, CObject, 1)

namespace
{
constexpr double kTwoPi = 6.283185307179586;
// The base marker's frame 0 starts 5 degrees left of north.
constexpr double kFrameOffset = 0.087266;
constexpr double kTurnsPerRadian = 0.15915483;

// A coordinate clamped to 0..extent; a value that is no number lands on 0.
float ClampToExtent(float value, int extent)
{
    if (!(value > 0.0f))
        return 0.0f;
    return std::min(value, static_cast<float>(extent));
}

const char* ColourOf(BOOL bHighlighted, BOOL bForeign)
{
    if (bHighlighted)
        return "Blue";
    return bForeign ? "Orange" : "Green";
}

// A sprite of the catalogue piece of that name at frame 0, keyed on magenta.
CSprite* PieceSprite(CPieceArray* pCatalogue, const CString& name)
{
    const int nPiece = pCatalogue->FindPiece(name);
    CPiece* pPiece = nPiece != kUnset ? pCatalogue->GetPiece(nPiece) : nullptr;
    CFrameSurface* pSheet = pPiece != nullptr ? pPiece->GetSurface() : nullptr;
    if (pSheet == nullptr || !pSheet->IsLoaded())
        return nullptr;
    pSheet->SetColorKey(DDColorMatch(pSheet, SPRITE_COLOR_KEY));
    return new CSprite(pSheet);
}

// A sprite of the member of that name inside a catalogue list.
CSprite* MemberSprite(CPieceArray* pCatalogue, const CString& name)
{
    int nFrame = 0;
    const int nList = pCatalogue->FindInLists(name, &nFrame);
    CPiece* pPiece = nList != kUnset ? pCatalogue->GetPiece(nList) : nullptr;
    CFrameSurface* pSheet = pPiece != nullptr ? pPiece->GetSurface() : nullptr;
    if (pSheet == nullptr || !pSheet->IsLoaded())
        return nullptr;
    pSheet->SetColorKey(DDColorMatch(pSheet, SPRITE_COLOR_KEY));
    auto* pSprite = new CSprite(pSheet);
    pSprite->SetFrame(nFrame);
    return pSprite;
}

// Places the sprite centred on the map point; FALSE without a picture.
BOOL PlaceAtMapPoint(CSprite* pSprite, float x, float y, const CKDRGameMap* pMap)
{
    const CElevationMap* pElevation = pMap->GetElevationMap();
    if (pElevation == nullptr || pMap->GetMapPicture() == nullptr)
        return FALSE;
    int px = 0, py = 0;
    pElevation->MapToPixel(x, y, &px, &py);
    pSprite->SetMapPosition(px, py, pMap->GetMapPicture());
    return TRUE;
}
}  // namespace

void CHoleCapability::Serialize(CArchive&) {}

CHole::CHole() : m_pCapabilities(new CHoleCapArray) {}

CHole::CHole(const CHole& other)
    : CObject(),
      m_fX(other.m_fX),
      m_fY(other.m_fY),
      m_nKind(other.m_nKind),
      m_fFacing(other.m_fFacing),
      m_pCapabilities(new CHoleCapArray),
      m_bOccupied(other.m_bOccupied),
      m_nOccupant(other.m_nOccupant),
      m_nOccupantArray(other.m_nOccupantArray)
{
    std::copy(std::begin(other.m_adwKept), std::end(other.m_adwKept), std::begin(m_adwKept));
    for (int i = 0; i < other.m_pCapabilities->GetSize(); ++i)
        m_pCapabilities->Add(new CHoleCapability);
}

CHole::~CHole()
{
    DeleteMarkers();
    delete m_pCapabilities;
}

void CHole::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << m_fX << m_fY << static_cast<WORD>(m_nKind) << m_fFacing;
        for (DWORD dw : m_adwKept)
            ar << dw;
        return;
    }
    float x = 0.0f, y = 0.0f, facing = 0.0f;
    short kind = 0;
    DWORD adwKept[3] = {};
    ar >> x >> y >> kind >> facing;
    for (DWORD& dw : adwKept)
        ar >> dw;
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(facing))
        ar.ThrowArchiveException(CArchiveException::generic, "a dug position's place or facing is no number");
    m_fX = x;
    m_fY = y;
    m_nKind = kind;
    m_fFacing = facing;
    std::copy(std::begin(adwKept), std::end(adwKept), std::begin(m_adwKept));
}

void CHole::ClampToMap(const CKDRGameMap* pMap)
{
    const CElevationMap* pElevation = pMap != nullptr ? pMap->GetElevationMap() : nullptr;
    const int width = pElevation != nullptr ? pElevation->GetWidth() : INT_MAX;
    const int height = pElevation != nullptr ? pElevation->GetHeight() : INT_MAX;
    m_fX = ClampToExtent(m_fX, width);
    m_fY = ClampToExtent(m_fY, height);
}

void CHole::SetPosition(float x, float y, const CKDRGameMap* pMap)
{
    m_fX = x;
    m_fY = y;
    ClampToMap(pMap);
}

void CHole::DeleteMarkers()
{
    delete m_pBaseMarker;
    m_pBaseMarker = nullptr;
    delete m_pKindMarker;
    m_pKindMarker = nullptr;
    m_bBaseMarkerReady = FALSE;
    m_bKindMarkerReady = FALSE;
}

void CHole::PrepareMarker(int nSide, const CKDRGameMap* /*pMap*/, BOOL bHighlighted)
{
    DeleteMarkers();
    const CDrawService* pDraw = GetDrawService();
    CPieceArray* pCatalogue = pDraw != nullptr ? pDraw->GetSymbolCatalogue() : nullptr;
    if (pCatalogue == nullptr)
        return;
    // The colours are the side's: they once followed whether the own units
    // showed their pieces, which changes with the zoom's icon style and so
    // recoloured one position as the player zoomed or loaded.
    const BOOL bForeign = nSide == 1;
    const CString colour = ColourOf(bHighlighted, bForeign);
    m_pBaseMarker = PieceSprite(pCatalogue, "Hole Marker " + colour);
    m_bBaseMarkerReady = m_pBaseMarker != nullptr;
    const CString kindName = m_nKind == kDismount ? "Dismount Hole Marker " : "Vehicle Hole Marker ";
    m_pKindMarker = MemberSprite(pCatalogue, kindName + colour);
    m_bKindMarkerReady = m_pKindMarker != nullptr;
}

int CHole::FrameForFacing(double dFacing, int nFrames)
{
    double dTurned = std::fmod(dFacing + kFrameOffset, kTwoPi);
    if (!(dTurned >= 0.0))
        dTurned = std::isfinite(dTurned) ? dTurned + kTwoPi : 0.0;
    const int nFrame = TruncToInt(dTurned * kTurnsPerRadian * (nFrames - 1) + 0.5);
    return std::clamp(nFrame, 0, std::max(nFrames - 1, 0));
}

void CHole::Draw(CKDRGameMap* pMap, int /*nSide*/)
{
    if (!m_bBaseMarkerReady || !m_bKindMarkerReady || m_pBaseMarker == nullptr || m_pKindMarker == nullptr ||
        pMap == nullptr)
        return;
    CDisplay* pDisplay = pMap->GetDisplay();
    CSurface* pBack = pDisplay != nullptr ? pDisplay->GetBackSurface() : nullptr;
    if (pBack == nullptr)
        return;
    if (const CFrameSurface* pSheet = m_pBaseMarker->GetSheet())
        m_pBaseMarker->SetFrame(FrameForFacing(m_fFacing, pSheet->GetFrameCount()));
    if (!PlaceAtMapPoint(m_pBaseMarker, m_fX, m_fY, pMap) || !PlaceAtMapPoint(m_pKindMarker, m_fX, m_fY, pMap))
        return;
    const CRect rcMarker(m_pBaseMarker->GetX(), m_pBaseMarker->GetY(),
                         m_pBaseMarker->GetX() + m_pBaseMarker->GetWidth(),
                         m_pBaseMarker->GetY() + m_pBaseMarker->GetHeight());
    if (rcMarker.right <= 0 || rcMarker.bottom <= 0 || rcMarker.left >= pBack->GetWidth() ||
        rcMarker.top >= pBack->GetHeight())
        return;
    m_pBaseMarker->Draw(pBack);
    m_pKindMarker->Draw(pBack);
}

BOOL CHole::MarkerContains(int nViewX, int nViewY) const
{
    return (m_bBaseMarkerReady && m_pBaseMarker != nullptr && m_pBaseMarker->HitTest(nViewX, nViewY)) ||
           (m_bKindMarkerReady && m_pKindMarker != nullptr && m_pKindMarker->HitTest(nViewX, nViewY));
}

BOOL CHole::Edit()
{
    CHoleDlg dialog;
    dialog.m_fFacing = m_fFacing;
    dialog.m_nKind = m_nKind;
    dialog.m_bSeveral = FALSE;
    if (dialog.DoModal() != IDOK)
        return FALSE;
    m_fFacing = dialog.m_fFacing;
    return TRUE;
}
