#pragma once
// Counts every heap allocation of the benchmark program that includes it
// (once, in its one source file): the replaced global operator new adds one
// to g_allocations, so a benchmark can show that its hot loop allocates
// nothing.
#include <atomic>
#include <cstdlib>
#include <new>

namespace
{
std::atomic<long long> g_allocations{0};
}

void* operator new(std::size_t size)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
