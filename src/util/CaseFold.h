#pragma once

#include <string_view>

namespace kelvor {

// Unicode's simple case folding: the one code point a letter compares as when case does not
// matter (A and a as a, Ä and ä as ä, Σ, σ and ς as σ, Д and д as д). Every other code point
// is returned as it is.
char32_t foldCase(char32_t c);

// Whether two texts are the same letter for letter without regard to case.
bool equalIgnoringCase(std::u32string_view a, std::u32string_view b);

} // namespace kelvor
