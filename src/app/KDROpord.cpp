#include "app/KDROpord.h"

#include "app/KDRApp.h"
#include "orders/Order.h"
#include "platform/ui/UiService.h"
#include "view/GraphicArray.h"

#include <memory>

IMPLEMENT_SERIAL(CKDROpord, CObject, 1)

namespace
{
// Asks the user whether a loaded object may be replaced.
BOOL ConfirmReplace(const char* text)
{
    CKDRApp* pApp = GetKDRApp();
    CWnd* pOwner = pApp != nullptr ? pApp->m_pMainWnd : nullptr;
    return GetUiService().MessageBox(pOwner, text, "Warning!", MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}
}  // namespace

CKDROpord::CKDROpord() : m_strFilePattern("*.opd") {}

CKDROpord::~CKDROpord()
{
    if (m_bOrder)
        delete m_pOrder;
    if (m_bGraphics0)
        delete m_pGraphics0;
    if (m_bGraphics1)
        delete m_pGraphics1;
}

void CKDROpord::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << m_strFilePattern;
        ar << m_strOrderFile;
        ar << m_strGraphicsFile0;
        ar << m_strGraphicsFile1;
    }
    else
    {
        ar >> m_strFilePattern;
        ar >> m_strOrderFile;
        ar >> m_strGraphicsFile0;
        ar >> m_strGraphicsFile1;
    }
}

BOOL CKDROpord::LoadFiles()
{
    if (!m_strOrderFile.IsEmpty() && !LoadOrder(CString(m_strOrderFile)))
        return FALSE;
    if (!m_strGraphicsFile0.IsEmpty() && !LoadGraphics(0, CString(m_strGraphicsFile0)))
        return FALSE;
    if (!m_strGraphicsFile1.IsEmpty() && !LoadGraphics(1, CString(m_strGraphicsFile1)))
        return FALSE;
    return TRUE;
}

BOOL CKDROpord::LoadOrder(const CString& strFile)
{
    auto pOrder = std::make_unique<COrder>();
    if (!pOrder->LoadFile(strFile))
        return FALSE;
    if (m_bOrder)
    {
        if (!ConfirmReplace("This operation will erase the currently loaded Order.\nDo you wish to continue?"))
            return FALSE;
        delete m_pOrder;
    }
    m_strOrderFile = pOrder->m_strName;
    m_pOrder = pOrder.release();
    m_bOrder = 1;
    return TRUE;
}

BOOL CKDROpord::LoadGraphics(int nLayer, const CString& strFile)
{
    auto pGraphics = std::make_unique<CGraphicArray>();
    if (!pGraphics->Open(strFile))
        return FALSE;
    CGraphicArray*& pLayer = nLayer == 0 ? m_pGraphics0 : m_pGraphics1;
    int& bLayer = nLayer == 0 ? m_bGraphics0 : m_bGraphics1;
    CString& strLayerFile = nLayer == 0 ? m_strGraphicsFile0 : m_strGraphicsFile1;
    if (bLayer)
    {
        if (!ConfirmReplace("This operation will erase the currently loaded Graphics.\nDo you wish to continue?"))
            return FALSE;
        delete pLayer;
    }
    strLayerFile = pGraphics->m_strFileName;
    pLayer = pGraphics.release();
    bLayer = 1;
    return TRUE;
}

void CKDROpord::ShowOrder()
{
    if (!m_bOrder || m_pOrder == nullptr)
        return;
    // Only a window that opens now holds the auto-scroll; a refresh does not.
    if (!m_pOrder->IsWindowOpen())
    {
        if (CKDRApp* pApp = GetKDRApp())
            ++pApp->m_nAutoScrollHold;
    }
    m_pOrder->ApplyToDialog();
}

void CKDROpord::CloseOrderWindow()
{
    if (!m_bOrder || m_pOrder == nullptr || !m_pOrder->IsWindowOpen())
        return;
    m_pOrder->CloseOrderWindow();
    if (CKDRApp* pApp = GetKDRApp())
        --pApp->m_nAutoScrollHold;
}

void CKDROpord::SwapSidesForPlayer()
{
    CKDRApp* pApp = GetKDRApp();
    if (pApp == nullptr || !pApp->IsPlayingEnemySide())
        return;
    CGraphicArray* pOld0 = m_bGraphics0 ? m_pGraphics0 : nullptr;
    CGraphicArray* pOld1 = m_bGraphics1 ? m_pGraphics1 : nullptr;
    m_pGraphics0 = pOld1;
    m_bGraphics0 = pOld1 != nullptr ? 1 : 0;
    m_pGraphics1 = pOld0;
    m_bGraphics1 = pOld0 != nullptr ? 1 : 0;
}
