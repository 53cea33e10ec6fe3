#pragma once

#include <string_view>
#include <vector>

namespace kelvor {

// Cuts `text` into `bursts` consecutive pieces of roughly equal size, each ending at
// a line end (after LF, or after a CR not followed by LF; the text's end counts too). A text
// with fewer lines gives one piece a line; an empty text none. The pieces view
// `text` and together cover it exactly.
std::vector<std::string_view> splitIntoBursts(std::string_view text, int bursts);

} // namespace kelvor
