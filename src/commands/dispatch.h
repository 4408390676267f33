// The per-URL dispatch: a briefcase scan or a link crawl of the URL in txtUrl.
#pragma once

#include "state/form1.h"

namespace vendil {

bool DispatchSearch(Form1& form);

}  // namespace vendil
