#include "ReplayServerRun.h"

#include "ReplayRegistry.h"

#include <windows.h>

#include <fstream>

namespace kelvor::test::replay {

namespace {

const std::wstring ClassKey = std::wstring(L"Software\\Classes\\CLSID\\") + ReplayServerClassText;
constexpr const wchar_t* ProgIdKey = L"Software\\Classes\\Excel.Application";

// Classes go where Windows looks for a user's own (HKEY_CURRENT_USER) and where Wine 8
// looks for any (HKEY_LOCAL_MACHINE, which every user may write there).
const HKEY ClassRoots[] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};

void setText(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    RegSetKeyValueW(root, key.c_str(), name, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

} // namespace

std::filesystem::path ReplayServerRun::serverProgram() {
    std::wstring self(MAX_PATH, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
    self.resize(n);
    return std::filesystem::path(self).parent_path() / "kelvor-replay-server.exe";
}

void ReplayServerRun::unregister() {
    for (HKEY root : ClassRoots) {
        RegDeleteTreeW(root, ClassKey.c_str());
        RegDeleteTreeW(root, ProgIdKey);
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, ReplayKey);
}

ReplayServerRun::ReplayServerRun(const std::filesystem::path& recording,
                                 std::filesystem::path results)
    : results_(std::move(results)) {
    unregister();
    std::filesystem::create_directories(results_);
    const std::wstring program = L"\"" + serverProgram().wstring() + L"\"";
    for (HKEY root : ClassRoots) {
        setText(root, ClassKey, nullptr, L"Replay server of the export tests");
        setText(root, ClassKey + L"\\LocalServer32", nullptr, program);
        setText(root, ClassKey + L"\\ProgID", nullptr, L"Excel.Application");
        setText(root, ProgIdKey, nullptr, L"Replay server of the export tests");
        setText(root, std::wstring(ProgIdKey) + L"\\CLSID", nullptr, ReplayServerClassText);
    }
    setText(HKEY_CURRENT_USER, ReplayKey, RecordingValue, recording.wstring());
    setText(HKEY_CURRENT_USER, ReplayKey, ResultsValue, results_.wstring());
    const DWORD first = 0;
    RegSetKeyValueW(HKEY_CURRENT_USER, ReplayKey, NextSectionValue, REG_DWORD, &first,
                    sizeof(first));
}

ReplayServerRun::~ReplayServerRun() {
    unregister();
}

std::vector<ServerResult> ReplayServerRun::results(std::size_t sections) const {
    std::vector<ServerResult> out(sections);
    for (std::size_t i = 0; i < sections; ++i) {
        std::ifstream in(results_ / ("section-" + std::to_string(i) + ".txt"));
        std::string word;
        ServerResult& result = out[i];
        result.found = static_cast<bool>(in);
        while (in >> word) {
            if (word == "checked") {
                in >> result.checked;
            } else if (word == "expected") {
                in >> result.expected;
            } else if (word == "typeinfo") {
                in >> result.typeInfo;
            } else {
                std::string rest;
                std::getline(in, rest);
                // A difference runs on over the lines that follow it.
                (word == "difference" ? result.difference : result.note) += rest;
            }
        }
    }
    return out;
}

} // namespace kelvor::test::replay
