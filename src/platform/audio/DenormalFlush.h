#pragma once

#if defined(__SSE__) || defined(__x86_64__)
#include <xmmintrin.h>
#endif

// Clears the upper halves of the AVX registers when the processor has them.
// Some libraries leave them dirty on a thread (Qt's GUI start-up does, on the
// main thread); after that every plain SSE instruction pays a transition
// penalty, which makes synthesis loops about ten times slower. Called at the
// top of every render loop.
inline void clearUpperVectorState()
{
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    static const bool hasAvx = __builtin_cpu_supports("avx");
    if (hasAvx)
        __asm__ __volatile__("vzeroupper" ::: "memory");
#endif
}

// While alive, the calling thread treats denormal floats as zero (flush to
// zero and denormals are zero), so decaying filters and reverb tails never
// drop into the slow denormal range on the audio thread. Restores the
// previous mode on exit.
class ScopedDenormalFlush
{
public:
    ScopedDenormalFlush()
    {
        clearUpperVectorState();
#if defined(__SSE__) || defined(__x86_64__)
        m_saved = _mm_getcsr();
        _mm_setcsr(m_saved | 0x8040u); // FTZ (bit 15) and DAZ (bit 6)
#elif defined(__aarch64__)
        unsigned long fpcr;
        __asm__ __volatile__("mrs %0, fpcr" : "=r"(fpcr));
        m_saved = fpcr;
        __asm__ __volatile__("msr fpcr, %0" ::"r"(fpcr | (1ul << 24)));
#endif
    }
    ~ScopedDenormalFlush()
    {
#if defined(__SSE__) || defined(__x86_64__)
        _mm_setcsr(unsigned(m_saved));
#elif defined(__aarch64__)
        __asm__ __volatile__("msr fpcr, %0" ::"r"(m_saved));
#endif
    }
    ScopedDenormalFlush(const ScopedDenormalFlush &) = delete;
    ScopedDenormalFlush &operator=(const ScopedDenormalFlush &) = delete;

private:
    unsigned long m_saved = 0;
};
