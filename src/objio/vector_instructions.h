// Whether the readers' vector paths are built: CALVETH_SIMD. On x86-64 they are (SSE2, which
// every such processor has, and the AVX2 face reading where the build has it and the
// processor too, asked at start); elsewhere, or with the CMake option CALVETH_SIMD=OFF, the
// readers use their eight-byte and plain forms alone. Included by the readers' sources only.
#pragma once

#ifndef CALVETH_SIMD
#if defined(__SSE2__) && defined(__x86_64__)
#define CALVETH_SIMD 1
#else
#define CALVETH_SIMD 0
#endif
#endif
