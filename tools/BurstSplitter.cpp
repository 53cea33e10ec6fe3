#include "BurstSplitter.h"

#include <algorithm>
#include <cstddef>

namespace kelvor {

namespace {

std::vector<std::size_t> lineEnds(std::string_view text) {
    std::vector<std::size_t> ends;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool lf = text[i] == '\n';
        const bool loneCr = text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n');
        if (lf || loneCr) {
            ends.push_back(i + 1);
        }
    }
    if (ends.empty() || ends.back() != text.size()) {
        ends.push_back(text.size());
    }
    return ends;
}

} // namespace

std::vector<std::string_view> splitIntoBursts(std::string_view text, int bursts) {
    std::vector<std::string_view> pieces;
    if (text.empty()) {
        return pieces;
    }
    const std::vector<std::size_t> ends = lineEnds(text);
    const std::size_t lines = ends.size();
    const std::size_t count = std::min(lines, bursts < 1 ? 1 : static_cast<std::size_t>(bursts));
    const std::size_t size = text.size();
    std::size_t start = 0;
    std::size_t nextLine = 0; // index into ends of the first line end the next cut may use
    for (std::size_t k = 1; k <= count; ++k) {
        std::size_t line = lines - 1;
        if (k < count) {
            // size * k / count without overflow for any file size and burst count.
            const std::size_t target = (size / count) * k + (size % count) * k / count;
            line = static_cast<std::size_t>(std::lower_bound(ends.begin(), ends.end(), target) -
                                            ends.begin());
            // At least one line per piece, and enough lines left for the pieces still to come.
            line = std::min(std::max(line, nextLine), lines - 1 - (count - k));
        }
        pieces.push_back(text.substr(start, ends[line] - start));
        start = ends[line];
        nextLine = line + 1;
    }
    return pieces;
}

} // namespace kelvor
