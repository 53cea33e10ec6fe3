#include "platform/TerminationSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kelvor {
namespace {

int signalFds[2] = {-1, -1};

// Only async-signal-safe work here: one byte into the socket pair.
extern "C" void onTerminationSignal(int sig) {
    const char byte = static_cast<char>(sig);
    [[maybe_unused]] const auto n = ::write(signalFds[0], &byte, 1);
}

} // namespace

struct TerminationSignals::Impl {
    std::function<void()> onSignal;
    std::unique_ptr<QSocketNotifier> notifier;
    struct sigaction oldTerm {};
    struct sigaction oldInt {};
};

TerminationSignals::TerminationSignals(std::function<void()> onSignal)
    : impl_(std::make_unique<Impl>()) {
    impl_->onSignal = std::move(onSignal);
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalFds) != 0) {
        return;
    }
    ::fcntl(signalFds[0], F_SETFL, O_NONBLOCK);
    impl_->notifier = std::make_unique<QSocketNotifier>(signalFds[1], QSocketNotifier::Read);
    QObject::connect(impl_->notifier.get(), &QSocketNotifier::activated, [this] {
        char bytes[16];
        [[maybe_unused]] const auto n = ::read(signalFds[1], bytes, sizeof bytes);
        if (impl_->onSignal) {
            impl_->onSignal();
        }
    });
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, &impl_->oldTerm);
    ::sigaction(SIGINT, &action, &impl_->oldInt);
}

TerminationSignals::~TerminationSignals() {
    ::sigaction(SIGTERM, &impl_->oldTerm, nullptr);
    ::sigaction(SIGINT, &impl_->oldInt, nullptr);
    impl_->notifier.reset();
    for (int& fd : signalFds) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
}

} // namespace kelvor
