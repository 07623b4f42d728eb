#pragma once
// CKDROpord: the document's operations-order component: the written order
// ("*.ord") and two overlay graphics layers ("*.gra") drawn over the map.
//
// The scenario part is four strings: the component's file pattern
// ("*.opd"), the order file, and the files of overlay layers 0 and 1. An
// empty name means nothing to load. Loading the files is a separate step of
// the document's open (LoadFiles).

#include "platform/core/Core.h"

class COrder;
class CGraphicArray;

class CKDROpord : public CObject
{
    DECLARE_SERIAL(CKDROpord)
public:
    CKDROpord();
    ~CKDROpord() override;
    CKDROpord(const CKDROpord&) = delete;
    CKDROpord& operator=(const CKDROpord&) = delete;

    void Serialize(CArchive& ar) override;

    // Loads the order and the two layers whose names are not empty; 0 at
    // the first failure. Each name becomes the name really loaded.
    BOOL LoadFiles();
    // Loads an order file. Replacing a loaded order asks first; declining
    // keeps the old one and answers 0.
    BOOL LoadOrder(const CString& strFile);
    // Loads a graphics file into layer 0, or layer 1 for any other value.
    // Replacing a loaded layer asks first; declining answers 0.
    BOOL LoadGraphics(int nLayer, const CString& strFile);

    // Opens the written order's window (or refreshes it when open).
    void ShowOrder();
    // Closes the written order's window when it is open.
    void CloseOrderWindow();
    // When the local player plays the enemy side, the two overlay layers
    // change places (the file names stay): each side sees its own overlay
    // as layer 0. A layer whose counterpart was empty ends empty.
    void SwapSidesForPlayer();

    CString m_strFilePattern;  // "*.opd"
    CString m_strOrderFile;
    CString m_strGraphicsFile0;
    CString m_strGraphicsFile1;
    COrder* m_pOrder = nullptr;
    CGraphicArray* m_pGraphics0 = nullptr;
    CGraphicArray* m_pGraphics1 = nullptr;
    int m_bOrder = 0;
    int m_bGraphics0 = 0;
    int m_bGraphics1 = 0;
};
