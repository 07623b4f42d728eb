#pragma once
// Bitmaps and the bitmap resources the program names by id (see DC.h).
//
// This header is free of Qt (QImage is only forward-declared).

#include "platform/core/CString.h"
#include "platform/core/Geometry.h"
#include "platform/core/Types.h"
#include "platform/ui/GdiObject.h"

#include <memory>

class QImage;

struct BITMAP
{
    LONG bmType = 0;
    LONG bmWidth = 0;
    LONG bmHeight = 0;
    LONG bmWidthBytes = 0;
    WORD bmPlanes = 1;
    WORD bmBitsPixel = 0;
};
// A picture in memory. Bitmaps load from Windows BMP files (1, 4, 8, 24
// and 32 bits per pixel, bottom-up or top-down) or from registered
// resources, or are made blank to be drawn on through a memory DC.
class CBitmap : public CGdiObject
{
public:
    CBitmap();
    ~CBitmap() override;
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;

    // A registered bitmap resource (see RegisterBitmapResource).
    BOOL LoadBitmap(UINT resourceId);
    // A BMP file by path; FALSE when it is missing or not a readable bitmap.
    BOOL LoadBitmap(const char* path);
    BOOL LoadBitmapFile(const char* path) { return LoadBitmap(path); }
    BOOL CreateCompatibleBitmap(CDC* pDC, int width, int height);
    BOOL CreateBitmap(int width, int height);
    BOOL DeleteObject() override;
    bool IsCreated() const override;

    int GetBitmap(BITMAP* bitmap) const;
    CSize GetBitmapDimension() const;
    COLORREF GetPixel(int x, int y) const;  // CLR_INVALID outside

    QImage* GetImage() { return m_pImage.get(); }
    const QImage* GetImage() const { return m_pImage.get(); }
    // Takes a copy of an image (converted to 32-bit RGB).
    BOOL SetImage(const QImage& image, int sourceBitsPerPixel = 32);

private:
    std::unique_ptr<QImage> m_pImage;
    int m_nSourceBits = 0;
};

// Bitmap resources are what the program's resource ids name: a BMP file,
// or an image made by code.
void RegisterBitmapResource(UINT resourceId, const CString& path);
void RegisterBitmapResourceImage(UINT resourceId, const QImage& image);
BOOL IsBitmapResourceRegistered(UINT resourceId);
