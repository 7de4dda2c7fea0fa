#include "gfx/blit_rows.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zoa {

namespace {

// SSE2 is part of every x86-64 processor, so this needs no check of the
// processor at run time. Without it (or at -O2, where compilers leave the
// byte loop alone) the plain loop is about five times slower, which the
// tests' thousands of frames feel; a wider unit gained nothing measurable
// in a real frame (docs/PERFORMANCE.md).
void CopyRowKeyed(uint8_t* dst, const uint8_t* src, size_t n, uint8_t key) {
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i keys = _mm_set1_epi8(static_cast<char>(key));
    for (; i + 16 <= n; i += 16) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        const __m128i transparent = _mm_cmpeq_epi8(s, keys);
        const __m128i out =
            _mm_or_si128(_mm_and_si128(transparent, d), _mm_andnot_si128(transparent, s));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), out);
    }
#endif
    for (; i < n; ++i) {
        if (src[i] != key) dst[i] = src[i];
    }
}

}  // namespace

void CopyBlockKeyed(const KeyedBlock& b) {
    for (size_t r = 0; r < b.rows; ++r)
        CopyRowKeyed(b.dst + r * b.dstPitch, b.src + r * b.srcPitch, b.cols, b.key);
}

}  // namespace zoa
