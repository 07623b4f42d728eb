#include "platform/core/Memory.h"

#include <cstdlib>  // defines __GLIBC__ where the C library is glibc's

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void ReleaseFreeMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
