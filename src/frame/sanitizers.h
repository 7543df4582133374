#pragma once
// Which sanitizer the build runs under, told the same way by GCC
// (__SANITIZE_*__) and clang (__has_feature): TOLLGRAM_ADDRESS_SANITIZER and
// TOLLGRAM_THREAD_SANITIZER are defined to 1 when it does.
#if defined(__SANITIZE_ADDRESS__)
#define TOLLGRAM_ADDRESS_SANITIZER 1
#endif
#if defined(__SANITIZE_THREAD__)
#define TOLLGRAM_THREAD_SANITIZER 1
#endif
#if defined(__has_feature)
#if __has_feature(address_sanitizer) && !defined(TOLLGRAM_ADDRESS_SANITIZER)
#define TOLLGRAM_ADDRESS_SANITIZER 1
#endif
#if __has_feature(thread_sanitizer) && !defined(TOLLGRAM_THREAD_SANITIZER)
#define TOLLGRAM_THREAD_SANITIZER 1
#endif
#endif
