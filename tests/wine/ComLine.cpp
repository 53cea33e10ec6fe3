#include "ComLine.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace kelvor::test {
namespace {

constexpr int ChunkBytes = 96;
constexpr int ChunkIntervalMs = 100; // 960 characters a second, as a tester sends

} // namespace

bool pointLink(const QString& link, const QString& target) {
    const QString fresh = link + ".new";
    QFile::remove(fresh);
    return QFile::link(target, fresh) &&
           ::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(link).constData()) == 0;
}

ComLine::ComLine(QString link) : link_(std::move(link)) {
    termios raw{};
    ::cfmakeraw(&raw);
    ::cfsetspeed(&raw, B9600);
    char name[64] = {};
    if (::openpty(&master_, &slave_, name, &raw, nullptr) != 0) {
        ADD_FAILURE() << "openpty: " << std::strerror(errno);
        return;
    }
    device_ = QString::fromLocal8Bit(name);
    // A reader that does not read for a while must not block the test's event loop.
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    // The programs the test starts inherit neither end: a master they held open would keep
    // the line alive after pull().
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave_, F_SETFD, FD_CLOEXEC);
    EXPECT_TRUE(pointLink(link_, device_)) << link_.toStdString();
    pace_.setInterval(ChunkIntervalMs);
    QObject::connect(&pace_, &QTimer::timeout, [this] { writeChunk(); });
}

ComLine::~ComLine() {
    pull();
    if (slave_ >= 0) {
        ::close(slave_);
    }
}

void ComLine::send(const QByteArray& bytes) {
    outgoing_ += bytes;
    if (!pace_.isActive()) {
        writeChunk(); // the first characters go at once
        pace_.start();
    }
}

void ComLine::writeChunk() {
    if (master_ < 0 || outgoing_.isEmpty()) {
        pace_.stop();
        return;
    }
    const auto size = static_cast<std::size_t>(std::min<qsizetype>(ChunkBytes, outgoing_.size()));
    const ssize_t written = ::write(master_, outgoing_.constData(), size);
    if (written > 0) {
        outgoing_.remove(0, written);
    }
}

void ComLine::pull() {
    pace_.stop();
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
    // Only our own link: a new line may stand there already.
    if (!device_.isEmpty() && QFileInfo(link_).symLinkTarget() == device_) {
        QFile::remove(link_);
    }
}

} // namespace kelvor::test
