// Whether this build has the x86 vector paths (the AVX2 and AVX-512 butterflies, the SSE2
// line count): on x86-64 unless configured with ZENTRI_SCALAR=ON. Elsewhere,
// and in the scalar build, the plain loops beside them run instead.
#pragma once

#if defined(__x86_64__) && !defined(ZENTRI_SCALAR)
#define ZENTRI_X86_VECTORS 1
#else
#define ZENTRI_X86_VECTORS 0
#endif
