// The slot that lets one search run at a time.
#include "commands/one_search.h"

namespace vendil {

SearchSlot::SearchSlot(Form1& form) : form_(form) {
  if (form_.searchRunning) {
    form_.SetStatusText(kSearchRunningText);
    return;
  }
  form_.searchRunning = true;
  taken_ = true;
}

SearchSlot::~SearchSlot() {
  if (taken_) form_.searchRunning = false;
}

}  // namespace vendil
