// A Ui for the benchmarks: it shows nothing, answers every dialog with Cancel or OK and
// never waits, so only the work itself is timed.
#pragma once

#include <optional>
#include <string>

#include "state/ui.h"

namespace vendil::bench {

class QuietUi : public Ui {
 public:
  void StatusChanged(const std::string&) override {}
  int MessageBox(const std::string&, const std::string&, int) override { return vb::OK; }
  std::optional<std::string> InputBox(const std::string&, const std::string&,
                                      const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> ShowMultiUrlDialog() override { return std::nullopt; }
  void ShowLog(const std::string&) override {}
  bool ShowSignIn(std::string&, std::string&, int) override { return false; }
  std::optional<std::string> FileDialog(const FileDialogRequest&) override { return std::nullopt; }
  void SetClipboardText(const std::string&) override {}
  void OpenUrl(const std::string&) override {}
  void Yield() override {}
};

}  // namespace vendil::bench
