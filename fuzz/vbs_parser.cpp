// Script text of any bytes compiles or is refused with an error, and a script that compiles
// runs to its end, its error, or the host's stop after a bounded time.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "script/engine.h"
#include "script/variant_convert.h"

namespace {

// Under the sanitizers and coverage a statement costs microseconds and a long string
// operation milliseconds: a script may run for this long, on values of at most 1 MiB and
// 16 MiB in all.
constexpr auto kRunBudget = std::chrono::seconds(1);
constexpr size_t kValueLimit = size_t{1} << 20;
constexpr size_t kHeldLimit = size_t{16} << 20;

class BoundedHost : public vendil::HostCallbacks {
 public:
  int MessageBox(std::u16string_view, std::u16string_view, int) override { return 1; }
  std::optional<std::u16string> InputBox(std::u16string_view, std::u16string_view,
                                         std::u16string_view) override {
    return std::nullopt;
  }
  bool Tick() override { return std::chrono::steady_clock::now() < deadline_; }

 private:
  std::chrono::steady_clock::time_point deadline_ = std::chrono::steady_clock::now() + kRunBudget;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  BoundedHost host;
  vendil::Engine engine(host);
  engine.SetMaxCallDepth(64);
  engine.SetMaxValueBytes(kValueLimit);
  engine.SetMaxHeldBytes(kHeldLimit);
  vendil::Engine::CompileResult compiled = engine.Compile(vendil::Utf8ToUtf16(bytes));
  if (compiled.script) engine.Run(*compiled.script);
  return 0;
}
