// Form1's small behaviours of its own: the status text, the record of links not read and
// the tag menu check marks.
#include "state/form1.h"

#include <utility>

namespace vendil {

Form1::Form1(Ui& ui) : lvwUrls([this] { return txtMask.Text(); }), ui_(ui) { RefreshTagMenu(); }

Form1::~Form1() = default;

void Form1::SetStatusText(std::string text) {
  status_ = std::move(text);
  ui_.StatusChanged(status_);
}

void Form1::KeepSkippedLinks(SkippedLinks&& ofOneSearch) {
  if (skippedLinks->Empty()) {
    skippedLinks = std::make_shared<const SkippedLinks>(std::move(ofOneSearch));
    return;
  }
  auto gathered = std::make_shared<SkippedLinks>(*skippedLinks);
  gathered->Append(ofOneSearch);
  skippedLinks = std::move(gathered);
}

void Form1::RefreshTagMenu() {
  for (int i = 0; i < kTagItemCount; ++i) {
    mnuOption_Tag_Tags[i].SetChecked((m_lngSearchTags & (int32_t{1} << i)) != 0);
  }
}

}  // namespace vendil
