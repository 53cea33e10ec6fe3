#pragma once

// What a failed automation call becomes: the application's own numbered error, so the
// message the reader shows reads as the application's.

#include "export/HostError.h"

#include <oaidl.h>

namespace kelvor::com {

// The application's exception: its number (1004 for an application-defined error), source,
// description and help. Frees the strings `info` holds.
xl::HostError fromException(EXCEPINFO& info);

// Any other failure of a call: the runtime's number for the dispatch error, 462 for an
// application that is gone, otherwise the code itself as an automation error.
xl::HostError fromResult(HRESULT hr);

// The application process ended or dropped its objects.
bool isDisconnected(HRESULT hr);

} // namespace kelvor::com
