#pragma once

// Whether this build is instrumented by AddressSanitizer, which reserves terabytes of shadow
// memory and runs code several times slower: memory limits and time bounds made for an
// ordinary build do not hold in it.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUnderAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kUnderAddressSanitizer = true;
#else
constexpr bool kUnderAddressSanitizer = false;
#endif
#else
constexpr bool kUnderAddressSanitizer = false;
#endif
