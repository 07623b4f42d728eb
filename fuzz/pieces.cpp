// The piece array ("*.pca"): pieces and piece lists with their member
// names; headless, so no bitmap is loaded.

#include "FuzzSupport.h"
#include "database/PieceArray.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CPieceArray pieces;
    bool loaded = false;
    fuzz::ReadArchive(data, size,
                      [&](CArchive& ar)
                      {
                          pieces.Serialize(ar);
                          loaded = true;
                      });
    if (!loaded)
        return 0;
    int position = 0;
    pieces.FindPiece("Tank");
    pieces.FindInLists("Tank", &position);
    pieces.FindListFrame("Tank", 1, &position);
    pieces.BuildMissingFilesReport();
    fuzz::WriteBack(pieces);
    return 0;
}
