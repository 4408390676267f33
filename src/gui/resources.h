// The compiled-in pictures (toolbar buttons, program icon) live in a static library, whose
// resources a program must register itself.
#pragma once

void InitVendilResources();
