#pragma once
// What every fuzz target shares: a UI service that answers every prompt with
// Cancel (the targets run headless: no window, no dialog, and sound goes to
// the silent output, so no target reaches for a sound server), a private
// scratch directory for the
// loaders that read files by name, and the archive set-up over the input.
//
// A target feeds the input to one real loader and lets the loader's own
// error (CException) end the run quietly; anything else that escapes, and
// any sanitizer report, is a crash the fuzzer keeps.

#include "platform/core/Core.h"
#include "platform/ui/Audio.h"
#include "platform/ui/UiService.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <unistd.h>

namespace fuzz
{
class CancelEverythingUi : public CUiService
{
public:
    int MessageBox(CWnd*, const CString&, const CString&, UINT type) override
    {
        return (type & MB_TYPEMASK) == MB_OK ? IDOK : IDCANCEL;
    }
    BOOL FileDialog(CWnd*, const CFileDialogRequest&, CString&) override { return FALSE; }
    int RunModalDialog(CDialog&) override { return IDCANCEL; }
    UINT TrackPopupMenu(CMenu&, CPoint, CWnd*) override { return 0; }
    void Beep(UINT) override {}
};

// Installs the cancelling UI once and answers the scratch directory, which
// is also made the program's current directory.
inline const CString& Setup()
{
    static const CString dir = []
    {
        static CancelEverythingUi ui;
        SetUiService(&ui);
        CAudioOutput::SetDefaultKind(AudioOutputKind::Silent);
        // The name is kept in a plain array: the removal at exit runs after
        // the program's own strings are gone.
        static char made[] = "/tmp/kdr_fuzzXXXXXX";
        if (mkdtemp(made) == nullptr)
            std::abort();
        std::atexit([] { std::system((std::string("rm -rf ") + made).c_str()); });
        return CString(made);
    }();
    SetCurrentDir(dir);
    return dir;
}

// Writes the input into the scratch directory under that name; the path.
inline CString WriteInput(const char* name, const uint8_t* data, size_t size)
{
    const CString path = JoinPath(Setup(), name);
    std::FILE* f = std::fopen(path.GetString(), "wb");
    if (f == nullptr)
        std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size)
        std::abort();
    std::fclose(f);
    return path;
}

// Runs the reader over a loading archive on the input; the loader's own
// errors end it.
inline void ReadArchive(const uint8_t* data, size_t size, const std::function<void(CArchive&)>& read)
{
    Setup();
    CMemFile file(data, static_cast<UINT>(size));
    try
    {
        CArchive ar(&file, CArchive::load);
        read(ar);
        ar.Close();
    }
    catch (const CException&)
    {
    }
}

// Stores the object again: a loaded object must write without fault.
inline void WriteBack(CObject& object)
{
    CMemFile out;
    CArchive ar(&out, CArchive::store);
    object.Serialize(ar);
    ar.Close();
}
}  // namespace fuzz
