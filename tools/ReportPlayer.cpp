#include "ReportPlayer.h"

#include "BurstSplitter.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace kelvor {

ReportFile loadReportFile(const std::string& path) {
    const auto fail = [&path](int error) {
        return std::runtime_error("cannot read " + path + ": " + std::strerror(error));
    };
    // Binary: a report's line ends are sent exactly as the file holds them, on Windows too.
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(path.c_str(), "rb"),
                                                             &std::fclose);
    if (!in) {
        throw fail(errno);
    }
    ReportFile file{path, {}};
    char buffer[8192];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, in.get())) {
        file.bytes.append(buffer, n);
    }
    if (std::ferror(in.get())) {
        throw fail(errno);
    }
    return file;
}

ReportPlayer::ReportPlayer(PlayClock& clock, ByteSink& sink, PlayOptions options)
    : clock_(clock), sink_(sink), options_(options) {}

PlayResult ReportPlayer::play(const std::vector<ReportFile>& files) {
    result_ = {};
    dropping_ = false;
    lineFree_ = clock_.now();
    bool firstOfAll = true;
    for (int round = 0; round < options_.repeat; ++round) {
        for (const ReportFile& file : files) {
            bool firstOfFile = true;
            for (std::string_view burst : splitIntoBursts(file.bytes, options_.bursts)) {
                PlayClock::time_point start = lineFree_;
                if (!firstOfAll) {
                    start += secondsToDuration(firstOfFile ? options_.pause : options_.burstPause);
                    clock_.sleepUntil(start);
                }
                firstOfAll = false;
                firstOfFile = false;
                sendBurst(burst, start);
            }
        }
    }
    clock_.sleepUntil(lineFree_ + secondsToDuration(options_.hold));
    return result_;
}

void ReportPlayer::sendBurst(std::string_view burst, PlayClock::time_point start) {
    if (options_.rate <= 0) {
        deliver(burst);
        lineFree_ = clock_.now();
        return;
    }
    // About a hundred writes a second, like a UART's FIFO being topped up.
    const auto chunk = std::max<std::size_t>(1, static_cast<std::size_t>(options_.rate / 100));
    PlayClock::time_point anchor = start;
    for (std::size_t done = 0; done < burst.size();) {
        clock_.sleepUntil(anchor + transmitTime(done));
        const std::string_view piece = burst.substr(done, chunk);
        if (deliver(piece)) {
            // The reader held us back: carry on at line pace from now.
            anchor = clock_.now() - transmitTime(done);
        }
        done += piece.size();
    }
    lineFree_ = anchor + transmitTime(burst.size());
}

// Writes `bytes`, waiting while the line is full; returns whether it had to wait.
bool ReportPlayer::deliver(std::string_view bytes) {
    bool waited = false;
    PlayClock::time_point lastProgress = clock_.now();
    const PlayClock::duration stallLimit = secondsToDuration(options_.stallLimit);
    for (;;) {
        const std::size_t taken = std::min(sink_.writeSome(bytes), bytes.size());
        result_.sent += taken;
        bytes.remove_prefix(taken);
        if (bytes.empty()) {
            dropping_ = false;
            return waited;
        }
        const PlayClock::time_point now = clock_.now();
        if (taken > 0) {
            lastProgress = now;
            dropping_ = false;
        }
        const PlayClock::duration left = stallLimit - (now - lastProgress);
        if (dropping_ || left <= PlayClock::duration::zero()) {
            dropping_ = true;
            result_.dropped += bytes.size();
            return waited;
        }
        sink_.waitWritable(std::chrono::ceil<std::chrono::milliseconds>(left));
        waited = true;
    }
}

PlayClock::duration ReportPlayer::transmitTime(std::size_t bytes) const {
    return secondsToDuration(static_cast<double>(bytes) / options_.rate);
}

} // namespace kelvor
