// A wave file as the sound manager loads it: read whole, its chunks parsed
// and its sample format checked (no audio output: nothing is played).

#include "FuzzSupport.h"
#include "view/Sound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Setup();
    fuzz::WriteInput("sound.wav", data, size);
    CSoundBuffer buffer;
    buffer.Create("sound.wav", nullptr);
    buffer.Play(FALSE);
    return 0;
}
