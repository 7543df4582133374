#pragma once
// Inlining the reader's hottest steps into their callers: through a call, the
// values a step just built are stored and loaded again.
#if defined(__GNUC__)
#define TOLLGRAM_ALWAYS_INLINE [[gnu::always_inline]] inline
#else
#define TOLLGRAM_ALWAYS_INLINE inline
#endif
