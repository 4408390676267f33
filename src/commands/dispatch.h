// The per-URL dispatch: a briefcase scan or a link crawl of the URL in txtUrl.
#pragma once

#include "state/form1.h"

namespace vendil {

// True when the search completed; false when it was stopped or its start page could not be
// read (the status text then says "ページの取得に失敗しました。").
bool DispatchSearch(Form1& form);

}  // namespace vendil
