#pragma once

#include <string>

namespace kelvor {

// Whether a process other than this one has the terminal device open. A reader elsewhere that
// lost a pseudo-terminal keeps trying its old path; when the system hands that number to a
// new pair, such a reader takes the new line and locks out the one it was made for.
bool heldByAnotherProcess(const std::string& device);

} // namespace kelvor
