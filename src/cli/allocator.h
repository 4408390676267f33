// Hints to the memory allocator the program is linked with, given before any work starts.
#pragma once

namespace vendil::cli {

void TuneAllocator();

}  // namespace vendil::cli
