#include "host/excel/ComErrors.h"

#include "Version.h"
#include "host/excel/ComValues.h"

#include <winerror.h>

namespace kelvor::com {

namespace {

std::string take(BSTR& s) {
    std::string text = s == nullptr ? std::string() : narrow(s, SysStringLen(s));
    SysFreeString(s);
    s = nullptr;
    return text;
}

} // namespace

xl::HostError fromException(EXCEPINFO& info) {
    if (info.pfnDeferredFillIn != nullptr) {
        info.pfnDeferredFillIn(&info);
    }
    // Errors an automation server raises for its own reasons come as FACILITY_CONTROL codes
    // whose low word is the number the runtime would show (0x800A03EC is 1004).
    int number = info.wCode;
    if (number == 0) {
        number = HRESULT_FACILITY(info.scode) == FACILITY_CONTROL ? HRESULT_CODE(info.scode)
                                                                  : static_cast<int>(info.scode);
    }
    std::string source = take(info.bstrSource);
    std::string description = take(info.bstrDescription);
    std::string helpFile = take(info.bstrHelpFile);
    if (description.empty()) {
        description = xl::errorDescription(number);
    }
    return xl::HostError(number, std::move(source), std::move(description), std::move(helpFile),
                         static_cast<int>(info.dwHelpContext));
}

bool isDisconnected(HRESULT hr) {
    return hr == RPC_E_DISCONNECTED || hr == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) ||
           hr == RPC_S_SERVER_UNAVAILABLE || hr == CO_E_OBJNOTCONNECTED ||
           hr == RPC_E_SERVER_DIED || hr == RPC_E_SERVER_DIED_DNE ||
           hr == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED);
}

xl::HostError fromResult(HRESULT hr) {
    if (isDisconnected(hr)) {
        return xl::programError(xl::ErrServerUnavailable);
    }
    switch (hr) {
    case DISP_E_MEMBERNOTFOUND:
    case DISP_E_UNKNOWNNAME:
        return xl::programError(xl::ErrMemberNotSupported);
    case DISP_E_TYPEMISMATCH:
        return xl::programError(xl::ErrTypeMismatch);
    case DISP_E_BADINDEX:
        return xl::programError(xl::ErrSubscript);
    case DISP_E_OVERFLOW:
        return xl::programError(xl::ErrOverflow);
    case DISP_E_BADPARAMCOUNT:
    case DISP_E_PARAMNOTFOUND:
    case DISP_E_PARAMNOTOPTIONAL:
    case E_INVALIDARG:
        return xl::programError(xl::ErrInvalidCall);
    default:
        return xl::HostError(static_cast<int>(hr), ProgramTitle, "Automation error");
    }
}

} // namespace kelvor::com
