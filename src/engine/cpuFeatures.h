#pragma once
// What the processor offers beyond the build's baseline, asked once per program. The renderer's
// fast paths are compiled for these with target attributes and chosen at run time.
#if defined(__x86_64__) || defined(__i386__)
#define BRAWNWICK_X86 1

namespace engine_cpu {

inline bool avx2() {
    static const bool yes = (__builtin_cpu_init(), __builtin_cpu_supports("avx2") != 0);  // before the library's start-up
    return yes;
}

inline bool avx512() {
    static const bool yes = (__builtin_cpu_init(), __builtin_cpu_supports("avx512f") != 0);
    return yes;
}

}  // namespace engine_cpu
#endif
