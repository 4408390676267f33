// A crawl keeps tens of megabytes of small strings (its rows); touching them 4 KiB at a time
// cost a fifth of a crawl's time in page faults. With mimalloc the heap lives in 32 MiB
// segments: the first one, already reserved when main starts, is marked for 2 MiB pages,
// and mimalloc marks the later ones itself once its large-page option is on. Both are
// hints the kernel may ignore; builds without mimalloc (the sanitizer builds) skip them.
#include "cli/allocator.h"

#ifdef VENDIL_MIMALLOC
#include <mimalloc.h>
#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#endif

namespace vendil::cli {

void TuneAllocator() {
#ifdef VENDIL_MIMALLOC
  mi_option_enable(mi_option_large_os_pages);
  constexpr uintptr_t kSegment = uintptr_t{32} << 20;
  void* probe = std::malloc(64);
  if (probe == nullptr) return;
  const uintptr_t segment = reinterpret_cast<uintptr_t>(probe) & ~(kSegment - 1);
  // A range the kernel does not have mapped in full gives ENOMEM and changes nothing.
  (void)madvise(reinterpret_cast<void*>(segment), kSegment, MADV_HUGEPAGE);
  std::free(probe);
#endif
}

}  // namespace vendil::cli
