#include "BattlefieldTestSupport.h"

#include <cstddef>

extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*, size_t),
                                                         void (*freeHook)(const volatile void*)) __attribute__((weak));

namespace
{
thread_local bool t_counting = false;
thread_local size_t t_count = 0;
thread_local size_t t_bytes = 0;

void OnMalloc(const volatile void*, size_t size)
{
    if (t_counting)
    {
        ++t_count;
        t_bytes += size;
    }
}

void OnFree(const volatile void*) {}

bool InstallHooks()
{
    if (__sanitizer_install_malloc_and_free_hooks == nullptr)
        return false;
    return __sanitizer_install_malloc_and_free_hooks(&OnMalloc, &OnFree) != 0;
}
}  // namespace

namespace bftest
{
bool AllocationCounter::Available()
{
    static const bool installed = InstallHooks();
    return installed;
}

void AllocationCounter::Start()
{
    Available();
    t_count = 0;
    t_bytes = 0;
    t_counting = true;
}

void AllocationCounter::Stop()
{
    t_counting = false;
    m_count = t_count;
    m_bytes = t_bytes;
}
}  // namespace bftest
