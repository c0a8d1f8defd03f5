#pragma once

#if defined(__SSE__) || defined(__x86_64__)
#include <xmmintrin.h>
#endif

// While alive, the calling thread treats denormal floats as zero (flush to
// zero and denormals are zero), so decaying filters and reverb tails never
// drop into the slow denormal range on the audio thread. Restores the
// previous mode on exit.
class ScopedDenormalFlush
{
public:
    ScopedDenormalFlush()
    {
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
