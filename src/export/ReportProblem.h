#pragma once

#include "export/HostError.h"

#include <string>

namespace kelvor {

// One plain sentence on what was wrong with a report, for the errors whose runtime words
// ("Overflow", "Subscript out of range") tell an operator nothing; empty for any other error.
// Only the errors the export procedures raise themselves while reading a report's header are
// explained: each is raised in one place, so the sentence says what that place found.
std::string reportProblemSentence(const xl::HostError& error);

} // namespace kelvor
