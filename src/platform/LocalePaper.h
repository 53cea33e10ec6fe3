#pragma once

namespace kelvor {

// The paper the system's locale prints on, as the written file numbers it: Letter (1) in North
// America and the few other places that use it, A4 (9) elsewhere.
int localePaperSize();

} // namespace kelvor
