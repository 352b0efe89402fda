// WIDE_VECTORS marks a function whose loops vectorise: where GCC can let the
// program pick one of several builds of a function when it starts (x86-64
// with ELF), it is also built for AVX2, and processors that have it run that
// build. Elsewhere it is built once, for the baseline instructions.
#pragma once

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__ELF__)
#define WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define WIDE_VECTORS
#endif
