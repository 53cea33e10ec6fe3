// The replay server: a local automation server that answers the export's calls from a
// recording (Replay.h). Started by COM for the replay class with -Embedding, once per
// application the client creates; each process answers the next section of the recording and
// ends when its last object is released, at an "end" line, or after a minute without calls.

#include "../ReplayRegistry.h"
#include "Replay.h"
#include "ReplayObjects.h"

#include <windows.h>

#include <memory>
#include <string>

using namespace kelvor::test::replay;

namespace {

// A client that went away without releasing its objects leaves the server waiting.
constexpr ULONGLONG IdleLimitMs = 60'000;

std::wstring readText(const wchar_t* name) {
    wchar_t buffer[1024] = {};
    DWORD size = sizeof(buffer);
    if (RegGetValueW(HKEY_CURRENT_USER, ReplayKey, name, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS) {
        return {};
    }
    return buffer;
}

// The section this process answers; the next process takes the one after it.
DWORD claimSection() {
    DWORD section = 0;
    DWORD size = sizeof(section);
    RegGetValueW(HKEY_CURRENT_USER, ReplayKey, NextSectionValue, RRF_RT_REG_DWORD, nullptr,
                 &section, &size);
    const DWORD next = section + 1;
    RegSetKeyValueW(HKEY_CURRENT_USER, ReplayKey, NextSectionValue, REG_DWORD, &next, sizeof(next));
    return section;
}

class Factory : public IClassFactory {
public:
    explicit Factory(Replay& replay) : replay_(replay) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // Lives as long as the process.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        *out = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        replay_.lastActivity = GetTickCount64();
        IDispatch* application = makeReplayObject(replay_, replay_.application(), L"Application");
        const HRESULT hr = application->QueryInterface(riid, out);
        application->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    Replay& replay_;
};

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::wstring recording = readText(RecordingValue);
    const std::wstring results = readText(ResultsValue);
    const DWORD section = claimSection();
    const std::wstring resultFile = results + L"\\section-" + std::to_wstring(section) + L".txt";
    std::vector<ScriptSection> script = readScript(recording);
    ScriptSection mine;
    if (section < script.size()) {
        mine = std::move(script[section]);
    }
    Replay replay(std::move(mine), resultFile);
    replay.writeResults(section < script.size() ? "" : "no such section in the recording");

    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        return 1;
    }
    Factory factory(replay);
    DWORD cookie = 0;
    // One application per process, as each CreateObject starts one of its own.
    if (FAILED(CoRegisterClassObject(ReplayServerClass, &factory, CLSCTX_LOCAL_SERVER,
                                     REGCLS_SINGLEUSE, &cookie))) {
        CoUninitialize();
        return 2;
    }
    replay.lastActivity = GetTickCount64();
    SetTimer(nullptr, 0, 1000, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && GetTickCount64() - replay.lastActivity > IdleLimitMs) {
            replay.writeResults("no call for a minute");
            break;
        }
        DispatchMessageW(&message);
    }
    CoRevokeClassObject(cookie);
    CoUninitialize();
    return 0;
}
