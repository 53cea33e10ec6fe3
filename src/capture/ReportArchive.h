#pragma once

#include <string>
#include <string_view>

namespace kelvor {

// Where every report is kept exactly as it was received, before any export is tried.
class ReportArchive {
public:
    virtual ~ReportArchive() = default;
    // The first bytes of a new report of `channel` are about to arrive.
    virtual void begin(int channel) = 0;
    virtual void append(int channel, std::string_view bytes) = 0;
    // The report is complete, or was cut short (line lost, ports closed, program ending).
    // Returns the file that keeps it; empty when it could not be kept.
    virtual std::string finish(int channel, bool cutShort) = 0;
};

// For tests and tools that keep nothing.
class NoArchive final : public ReportArchive {
public:
    void begin(int) override {}
    void append(int, std::string_view) override {}
    std::string finish(int, bool) override { return {}; }
};

} // namespace kelvor
