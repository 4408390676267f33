// Small live objects that stand for the main window's fields and check items. The core
// reads them at the time of use; a window binds its widgets to them both ways.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vendil {

class TextField {
 public:
  const std::string& Text() const { return text_; }
  void SetText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    if (onChanged_) onChanged_(text_);
  }
  void OnChanged(std::function<void(const std::string&)> f) { onChanged_ = std::move(f); }

 private:
  std::string text_;
  std::function<void(const std::string&)> onChanged_;
};

class CheckItem {
 public:
  bool Checked() const { return checked_; }
  void SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    if (onChanged_) onChanged_(checked_);
  }
  void Toggle() { SetChecked(!checked_); }
  void OnChanged(std::function<void(bool)> f) { onChanged_ = std::move(f); }

 private:
  bool checked_ = false;
  std::function<void(bool)> onChanged_;
};

// A drop-down list whose text is one of its items (cmbScript).
class ComboField {
 public:
  const std::string& Text() const { return text_; }
  const std::vector<std::string>& Items() const { return items_; }
  void Clear() {
    items_.clear();
    SetTextUnchecked("");
    if (onItems_) onItems_();
  }
  void AddItem(std::string item) {
    items_.push_back(std::move(item));
    if (onItems_) onItems_();
  }
  // Selects the item equal to `text`; false (and nothing changed) when no item is.
  bool SetText(const std::string& text) {
    for (const auto& item : items_) {
      if (item == text) {
        SetTextUnchecked(text);
        return true;
      }
    }
    return false;
  }
  // Selects the item at a 0-based index; false when there is none.
  bool SetListIndex(size_t index) {
    if (index >= items_.size()) return false;
    SetTextUnchecked(items_[index]);
    return true;
  }
  void OnChanged(std::function<void(const std::string&)> f) { onChanged_ = std::move(f); }
  void OnItemsChanged(std::function<void()> f) { onItems_ = std::move(f); }

 private:
  void SetTextUnchecked(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    if (onChanged_) onChanged_(text_);
  }
  std::string text_;
  std::vector<std::string> items_;
  std::function<void(const std::string&)> onChanged_;
  std::function<void()> onItems_;
};

}  // namespace vendil
