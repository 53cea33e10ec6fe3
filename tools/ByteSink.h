#pragma once

#include <chrono>
#include <cstddef>
#include <string_view>

namespace kelvor {

// Where the player's bytes go. Neither call may block longer than asked, so a line nobody
// reads can never hang the player. Failures of the line throw std::system_error.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Takes as many leading bytes as the line accepts right now; returns how many (0 when
    // the line is full).
    virtual std::size_t writeSome(std::string_view bytes) = 0;
    // Waits until the line may accept more, at most `timeout`; true when it may.
    virtual bool waitWritable(std::chrono::milliseconds timeout) = 0;
};

} // namespace kelvor
