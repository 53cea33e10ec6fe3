#pragma once

// What the benchmarks share: prompts that answer at once, and constant-rate reports made up
// to any size.
#include "platform/Prompts.h"

#include <cmath>
#include <string>

namespace kelvor::bench {

class SilentPrompts final : public Prompts {
public:
    PromptResult show(const std::string&, const std::string&, PromptIcon, PromptButtons) override {
        return PromptResult::Ok;
    }
    void beep() override {}
};

// A constant-rate report as a tester sends it, with `points` data lines.
inline std::string rateReport(int points, int seed) {
    std::string text = "CONSTANT RATE TEST DATA\r\nBENCH UNIT\r\nForce units in lbf\r\n"
                       "Deflection units in in\r\nSample ID: B-" +
                       std::to_string(seed) +
                       "\r\nOperator: QA\r\nSpeed: 0.5 in/min\r\n----\r\nPreload: 10\r\n"
                       "Limit: 2000\r\nPeak Force: " +
                       std::to_string(900 + seed % 200) + "\r\nDeformation at Peak: 0.4\r\n\r\n" +
                       std::to_string(points) + " POINTS\r\nDEFLECTION,FORCE\r\n";
    for (int i = 1; i <= points; ++i) {
        const double x = 0.001 * i;
        text += std::to_string(x) + "," + std::to_string(1000.0 * std::sin(x * 3.0)) + "\r\n";
    }
    return text;
}

} // namespace kelvor::bench
