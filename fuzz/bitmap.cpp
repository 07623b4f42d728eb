// A bitmap file as pieces, tile sheets and tool bars load it: into a frame
// surface (any picture format) and into a bitmap object (BMP only).

#include "FuzzSupport.h"
#include "platform/ui/DC.h"
#include "platform/ui/Display.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Setup();
    fuzz::WriteInput("picture.bmp", data, size);
    CFrameSurface sheet;
    if (sheet.Load(nullptr, "picture.bmp", 4, 3, 12))
    {
        sheet.GetFrameRect(11);
        sheet.GetPixel(sheet.GetWidth() - 1, sheet.GetHeight() - 1);
    }
    CBitmap bitmap;
    bitmap.LoadBitmap("picture.bmp");
    return 0;
}
