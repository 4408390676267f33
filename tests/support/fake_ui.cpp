// The scripted Ui used by tests.
#include "support/fake_ui.h"

#include <utility>

namespace vendil::test {

int FakeUi::MessageBox(const std::string& text, const std::string& title, int style) {
  messages.push_back({text, title, style});
  if (!messageAnswers.empty()) {
    int a = messageAnswers.front();
    messageAnswers.pop_front();
    return a;
  }
  return vb::OK;
}

std::optional<std::string> FakeUi::InputBox(const std::string&, const std::string&,
                                            const std::string&) {
  if (inputAnswers.empty()) return std::nullopt;
  auto a = inputAnswers.front();
  inputAnswers.pop_front();
  return a;
}

std::optional<std::string> FakeUi::ShowMultiUrlDialog() {
  if (multiUrlAnswers.empty()) return std::nullopt;
  auto a = multiUrlAnswers.front();
  multiUrlAnswers.pop_front();
  return a;
}

bool FakeUi::ShowSignIn(std::string& id, std::string& password, int attempt) {
  signIns.push_back({id, password, attempt});
  if (signInAnswers.empty()) return false;
  SignInAnswer a = signInAnswers.front();
  signInAnswers.pop_front();
  if (a.id) id = *a.id;
  if (a.password) password = *a.password;
  return a.ok;
}

std::optional<std::string> FakeUi::FileDialog(const FileDialogRequest& request) {
  fileDialogs.push_back(request);
  if (fileAnswers.empty()) return std::nullopt;
  auto a = fileAnswers.front();
  fileAnswers.pop_front();
  return a;
}

void FakeUi::OnYield(std::function<bool()> predicate, std::function<void()> action) {
  pending_.push_back({std::move(predicate), std::move(action)});
}

void FakeUi::Yield() {
  ++yields;
  if (everyYield) everyYield();
  for (size_t i = 0; i < pending_.size();) {
    if (pending_[i].predicate()) {
      auto action = std::move(pending_[i].action);
      pending_.erase(pending_.begin() + static_cast<std::ptrdiff_t>(i));
      action();
    } else {
      ++i;
    }
  }
}

}  // namespace vendil::test
