// The heap in use, for soaks that must leave it flat.
#pragma once

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
extern "C" size_t __sanitizer_get_current_allocated_bytes();
inline size_t HeapInUse() {
  return __sanitizer_get_current_allocated_bytes();
}
#else
inline size_t HeapInUse() {
  return 0;  // without AddressSanitizer, its leak check at exit is all there is
}
#endif
