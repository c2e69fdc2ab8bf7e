// Whether this test program is built with AddressSanitizer, for the few
// checks that must measure memory another way there.
#pragma once

#ifdef __SANITIZE_ADDRESS__
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif
