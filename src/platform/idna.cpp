// Domain names through ICU's UTS #46 implementation.
#include "platform/idna.h"

#include <unicode/uidna.h>

#include <memory>

namespace vendil {
namespace {

struct IdnaDeleter {
  void operator()(UIDNA* idna) const { uidna_close(idna); }
};

// One converter per thread: it is immutable once made, but cheap to keep around.
UIDNA* Converter() {
  thread_local std::unique_ptr<UIDNA, IdnaDeleter> idna = [] {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UIDNA, IdnaDeleter> made(
        uidna_openUTS46(UIDNA_CHECK_BIDI | UIDNA_CHECK_CONTEXTJ | UIDNA_NONTRANSITIONAL_TO_ASCII |
                            UIDNA_NONTRANSITIONAL_TO_UNICODE,
                        &status));
    if (U_FAILURE(status)) made.reset();
    return made;
  }();
  return idna.get();
}

// Browsers leave out the hyphen checks and the DNS length checks of UTS #46.
constexpr uint32_t kIgnoredErrors = UIDNA_ERROR_EMPTY_LABEL | UIDNA_ERROR_LABEL_TOO_LONG |
                                    UIDNA_ERROR_DOMAIN_NAME_TOO_LONG | UIDNA_ERROR_LEADING_HYPHEN |
                                    UIDNA_ERROR_TRAILING_HYPHEN | UIDNA_ERROR_HYPHEN_3_4;

}  // namespace

std::optional<std::string> DomainToAscii(std::string_view utf8Domain) {
  UIDNA* idna = Converter();
  if (idna == nullptr || utf8Domain.size() > 0x7fffffff) return std::nullopt;
  std::string out(utf8Domain.size() * 4 + 64, '\0');
  for (int round = 0; round < 2; ++round) {
    UErrorCode status = U_ZERO_ERROR;
    UIDNAInfo info = UIDNA_INFO_INITIALIZER;
    const int32_t length =
        uidna_nameToASCII_UTF8(idna, utf8Domain.data(), static_cast<int32_t>(utf8Domain.size()),
                               out.data(), static_cast<int32_t>(out.size()), &info, &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
      out.assign(static_cast<size_t>(length) + 1, '\0');
      continue;
    }
    if (U_FAILURE(status) || (info.errors & ~kIgnoredErrors) != 0) return std::nullopt;
    out.resize(static_cast<size_t>(length));
    return out;
  }
  return std::nullopt;
}

}  // namespace vendil
