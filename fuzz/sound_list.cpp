// The sound list ("*.smg"): three lists of named sounds and the list's
// name. One manager serves every input (making one looks for its two
// administrative sounds); it plays on the silent output.

#include "FuzzSupport.h"
#include "view/Sound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CSoundManager* manager = []
    {
        CSoundManager::SetDataDirectory(fuzz::Setup());
        CSoundManager::SetReportHandler([](const CString&) {});
        return new CSoundManager;
    }();
    bool loaded = false;
    fuzz::ReadArchive(data, size,
                      [&](CArchive& ar)
                      {
                          manager->Serialize(ar);
                          loaded = true;
                      });
    if (loaded)
    {
        manager->FindSound(CSoundManager::kindWeapon, "gun.wav");
        fuzz::WriteBack(*manager);
    }
    return 0;
}
