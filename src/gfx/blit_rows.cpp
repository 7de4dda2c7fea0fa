#include "gfx/blit_rows.h"

#if defined(__x86_64__) && defined(__SSE2__)
#include <immintrin.h>
#define ZOA_X86 1
#endif

namespace zoa {

namespace {

#if ZOA_X86
// 32 pixels at a time. Runs of wholly opaque or wholly transparent pixels,
// common in sprite frames, take the short ways.
__attribute__((target("avx2"), always_inline)) inline void CopyRowKeyedAvx2(uint8_t* dst, const uint8_t* src,
                                                                       size_t n, uint8_t key) {
    size_t i = 0;
    const __m256i keys = _mm256_set1_epi8(static_cast<char>(key));
    for (; i + 32 <= n; i += 32) {
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
        const __m256i transparent = _mm256_cmpeq_epi8(s, keys);
        const uint32_t mask = static_cast<uint32_t>(_mm256_movemask_epi8(transparent));
        if (mask == 0) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), s);
        } else if (mask != 0xFFFFFFFFu) {
            const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_blendv_epi8(s, d, transparent));
        }
    }
    if (i + 16 <= n) {
        const __m128i keys16 = _mm_set1_epi8(static_cast<char>(key));
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_blendv_epi8(s, d, _mm_cmpeq_epi8(s, keys16)));
        i += 16;
    }
    for (; i < n; ++i) {
        if (src[i] != key) dst[i] = src[i];
    }
}
#endif

inline void CopyRowKeyedPortable(uint8_t* dst, const uint8_t* src, size_t n, uint8_t key) {
    size_t i = 0;
#if ZOA_X86
    const __m128i keys = _mm_set1_epi8(static_cast<char>(key));
    for (; i + 16 <= n; i += 16) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        const __m128i transparent = _mm_cmpeq_epi8(s, keys);
        const __m128i out = _mm_or_si128(_mm_and_si128(transparent, d), _mm_andnot_si128(transparent, s));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), out);
    }
#endif
    for (; i < n; ++i) {
        if (src[i] != key) dst[i] = src[i];
    }
}

#if ZOA_X86
__attribute__((target("avx2"))) void CopyBlockKeyedAvx2(const KeyedBlock& b) {
    for (size_t r = 0; r < b.rows; ++r) CopyRowKeyedAvx2(b.dst + r * b.dstPitch, b.src + r * b.srcPitch, b.cols, b.key);
}
#endif

void CopyBlockKeyedPortable(const KeyedBlock& b) {
    for (size_t r = 0; r < b.rows; ++r) CopyRowKeyedPortable(b.dst + r * b.dstPitch, b.src + r * b.srcPitch, b.cols, b.key);
}

using BlockCopier = void (*)(const KeyedBlock&);

BlockCopier ChooseBlockCopier() {
#if ZOA_X86
    if (__builtin_cpu_supports("avx2")) return CopyBlockKeyedAvx2;
#endif
    return CopyBlockKeyedPortable;
}

const BlockCopier kCopyBlockKeyed = ChooseBlockCopier();

}  // namespace

void CopyBlockKeyed(const KeyedBlock& block) { kCopyBlockKeyed(block); }

}  // namespace zoa
