// "link.txt" beside the data directory, read into the eleven link strings.

#include "FuzzSupport.h"
#include "app/LinkFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const CString& dir = fuzz::Setup();
    static const CString dataDir = [&]
    {
        const CString path = JoinPath(dir, "Data");
        CreateDir(path);
        return path;
    }();
    fuzz::WriteInput("link.txt", data, size);
    CString values[LINK_KEY_COUNT];
    CString* targets[LINK_KEY_COUNT];
    for (int i = 0; i < LINK_KEY_COUNT; ++i)
        targets[i] = &values[i];
    ReadLinkFile(dataDir, targets);
    return 0;
}
