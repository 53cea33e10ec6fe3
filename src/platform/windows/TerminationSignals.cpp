#include "platform/TerminationSignals.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>

#include <windows.h>

#include <atomic>

// Replaces posix/TerminationSignals.cpp in a Windows build. Console control events
// (Ctrl+C, Ctrl+Break, the console window closed, the user logging off, the system shutting
// down) arrive on a thread of their own; they are handed to the event loop, and for the events
// after which Windows ends the process the handler waits until the program has ended cleanly.
// The end of the user's session for the windowed program comes through Qt's session
// management (commitDataRequest), wired in the shell.
namespace kelvor {

namespace {

std::atomic<QObject*> receiver{nullptr};
std::function<void()>* handler = nullptr;
HANDLE finished = nullptr; // set once the program has ended (the object is destroyed)

BOOL WINAPI onConsoleControl(DWORD event) {
    QObject* target = receiver.load();
    if (target == nullptr) {
        return FALSE;
    }
    QMetaObject::invokeMethod(
        target,
        [] {
            if (handler != nullptr && *handler) {
                (*handler)();
            }
        },
        Qt::QueuedConnection);
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        // Returning lets Windows end the process at once: wait for the clean end first, no
        // longer than Windows would wait anyway.
        WaitForSingleObject(finished, 20000);
    }
    return TRUE;
}

} // namespace

struct TerminationSignals::Impl {
    std::function<void()> onSignal;
    QObject context;
};

TerminationSignals::TerminationSignals(std::function<void()> onSignal)
    : impl_(std::make_unique<Impl>()) {
    impl_->onSignal = std::move(onSignal);
    handler = &impl_->onSignal;
    finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    receiver.store(&impl_->context);
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

TerminationSignals::~TerminationSignals() {
    receiver.store(nullptr);
    if (finished != nullptr) {
        SetEvent(finished); // a waiting handler lets Windows go on
    }
    SetConsoleCtrlHandler(onConsoleControl, FALSE);
}

} // namespace kelvor
