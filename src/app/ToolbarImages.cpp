#include "app/ToolbarImages.h"

#include "app/KDRCommandIds.h"
#include "platform/core/CString.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/DC.h"
#include "platform/ui/GdiObject.h"

namespace
{
// The bar's face: the toolbar shows the bar through it.
constexpr COLORREF kFace = RGB(192, 192, 192);
constexpr COLORREF kInk = RGB(255, 255, 255);

constexpr COLORREF kFiles = RGB(96, 96, 112);
constexpr COLORREF kDisplay = RGB(40, 110, 60);
constexpr COLORREF kPaths = RGB(150, 100, 30);
constexpr COLORREF kActions = RGB(170, 50, 40);
constexpr COLORREF kOrders = RGB(40, 70, 160);
constexpr COLORREF kStanding = RGB(100, 50, 140);
constexpr COLORREF kClock = RGB(20, 20, 20);
constexpr COLORREF kHelp = RGB(30, 120, 140);

struct Glyph
{
    UINT nId;
    COLORREF crPlate;
    const char* pszMark;
};

const Glyph kGlyphs[] = {
    {ID_FILE_RESTART_MISSION, kFiles, "R"},
    {ID_FILE_OPEN_SAVED_GAME, kFiles, "O"},
    {ID_FILE_SAVE_AS, kFiles, "S"},
    {ID_VIEW_ZOOM_IN, kDisplay, "+"},
    {ID_VIEW_ZOOM_NORMAL, kDisplay, "1"},
    {ID_VIEW_ZOOM_OUT, kDisplay, "-"},
    {ID_VIEW_OVERVIEW_MAP, kDisplay, "M"},
    {ID_VIEW_ECHELON_VEHICLES, kDisplay, "V"},
    {ID_VIEW_ECHELON_PLATOONS, kDisplay, "P"},
    {ID_VIEW_ECHELON_COMPANIES, kDisplay, "C"},
    {ID_VIEW_LOS_FAN, kDisplay, "L"},
    {ID_VIEW_LAST_SPOT_REPORT, kDisplay, "!"},
    {ID_VIEW_SPOT_REPORT_LOG, kDisplay, "?"},
    {ID_EDIT_SHOW_PATH, kPaths, "P"},
    {ID_EDIT_CUT, kPaths, "X"},
    {ID_EDIT_COPY, kPaths, "C"},
    {ID_EDIT_PASTE, kPaths, "V"},
    {ID_EDIT_PASTE_IN_LINE, kPaths, "I"},
    {ID_EDIT_DELETE_NODES, kPaths, "D"},
    {ID_ACTIONS_FIRE_MISSION, kActions, "F"},
    {ID_ACTIONS_FIRE_ORDER, kActions, "O"},
    {ID_ACTIONS_FM_LOG, kActions, "L"},
    {ID_ACTIONS_MOUNT, kActions, "M"},
    {ID_ACTIONS_DISMOUNT, kActions, "D"},
    {ID_ACTIONS_UPLOAD, kActions, "U"},
    {ID_ORDERS_STOP, kOrders, "S"},
    {ID_ORDERS_SPRINT, kOrders, "R"},
    {ID_ORDERS_HOLD_FIRE, kOrders, "H"},
    {ID_ORDERS_DEFILADE, kOrders, "D"},
    {ID_SOP_MAX_RANGE, kStanding, "R"},
    {ID_SOP_FIELD_OF_FIRE, kStanding, "F"},
    {ID_SOP_SUPPRESS, kStanding, "S"},
    {ID_SOP_MARCH_SPEED, kStanding, "M"},
    {ID_SOP_HIDE_ON_CONTACT, kStanding, "H"},
    {ID_SOP_ENGAGE_ON_CONTACT, kStanding, "E"},
    {ID_SOP_BYPASS_OBSTACLES, kStanding, "B"},
    {ID_TIME_START, kClock, ">"},
    {ID_TIME_STOP, kClock, "="},
    {ID_MULTIPLAYER_CHAT_LOG, kHelp, "T"},
    {ID_HELP_INDEX, kHelp, "?"},
    {ID_CONTEXT_HELP, kHelp, "i"},
};

const Glyph* FindGlyph(UINT nId)
{
    for (const Glyph& g : kGlyphs)
    {
        if (g.nId == nId)
            return &g;
    }
    return nullptr;
}

void DrawGlyph(CDC& dc, int x, const Glyph* pGlyph, CFont& font)
{
    const COLORREF crPlate = pGlyph != nullptr ? pGlyph->crPlate : kFiles;
    dc.FillSolidRect(x + 1, 1, TOOLBAR_IMAGE_WIDTH - 2, TOOLBAR_IMAGE_HEIGHT - 2, crPlate);
    if (pGlyph == nullptr)
        return;
    CRect rc(x, 0, x + TOOLBAR_IMAGE_WIDTH, TOOLBAR_IMAGE_HEIGHT);
    CFont* pOld = dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kInk);
    dc.DrawText(pGlyph->pszMark, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    dc.SelectObject(pOld);
}
}  // namespace

BOOL RegisterToolbarImages(UINT nBitmap, const UINT* pIds, int nCount)
{
    if (pIds == nullptr || nCount <= 0)
        return FALSE;
    int nImages = 0;
    for (int i = 0; i < nCount; ++i)
        nImages += pIds[i] != ID_SEPARATOR ? 1 : 0;
    CBitmap strip;
    if (nImages == 0 || !strip.CreateBitmap(nImages * TOOLBAR_IMAGE_WIDTH, TOOLBAR_IMAGE_HEIGHT))
        return FALSE;
    {
        CDC dc;
        if (!dc.CreateCompatibleDC(nullptr))
            return FALSE;
        CBitmap* pOld = dc.SelectObject(&strip);
        dc.FillSolidRect(0, 0, nImages * TOOLBAR_IMAGE_WIDTH, TOOLBAR_IMAGE_HEIGHT, kFace);
        CFont font;
        font.CreateFont(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
        int x = 0;
        for (int i = 0; i < nCount; ++i)
        {
            if (pIds[i] == ID_SEPARATOR)
                continue;
            DrawGlyph(dc, x, FindGlyph(pIds[i]), font);
            x += TOOLBAR_IMAGE_WIDTH;
        }
        dc.SelectObject(pOld);
    }
    RegisterBitmapResourceImage(nBitmap, *strip.GetImage());
    return TRUE;
}
