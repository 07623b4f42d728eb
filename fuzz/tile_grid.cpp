// The tile grid ("*.map") read by the map picture, over a tile sheet whose
// tile size the first two input bytes choose; a grid that loads is asked for
// its tiles and scrolled.

#include "FuzzSupport.h"
#include "battlefield/MapPicture.h"

namespace
{
// A sheet of a given tile size without a bitmap behind it.
class CSizedSheet : public CFrameSurface
{
public:
    CSizedSheet(int tileWidth, int tileHeight)
    {
        m_columns = tileWidth;
        m_rows = tileHeight;
    }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    fuzz::Setup();
    CSizedSheet sheet(data[0] * 128 + 1, data[1] * 128 + 1);
    CMapPicture picture(&sheet, nullptr);
    fuzz::WriteInput("grid.map", data + 2, size - 2);
    if (picture.LoadGrid("grid.map"))
    {
        for (int c = -1; c <= picture.GetGridColumns() && c < 64; ++c)
            for (int r = -1; r <= picture.GetGridRows() && r < 64; ++r)
                picture.GetTile(c, r);
        picture.SetDisplaySize(640, 480);
        picture.SetScroll(picture.GetMapWidth(), picture.GetMapHeight());
        picture.SetScroll(-5, -5);
    }
    return 0;
}
