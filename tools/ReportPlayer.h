#pragma once

#include "ByteSink.h"
#include "PlayClock.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kelvor {

// A report file as it is played: its bytes exactly as read.
struct ReportFile {
    std::string name;
    std::string bytes;
};

// Reads a whole file; throws std::runtime_error naming the file and the reason.
ReportFile loadReportFile(const std::string& path);

struct PlayOptions {
    double rate = 960.0;     // characters per second; 0 = as fast as the line takes them
    double pause = 2.0;      // seconds between files
    int bursts = 1;          // pieces per file, cut at line ends
    double burstPause = 0.5; // seconds between the pieces of a file
    int repeat = 1;          // times the whole list is played
    double hold = 2.0;       // seconds the line stays open after the last byte
    double stallLimit = 5.0; // seconds without progress before the line counts as unread
};

struct PlayResult {
    std::size_t sent = 0;
    std::size_t dropped = 0; // bytes given up on because nobody read the line
};

// Plays report files onto a line the way a tester sends them: byte for byte, in small chunks
// at a steady pace, pausing between bursts and files. Chunk times are computed from the start
// of each burst, so sleep overshoot never accumulates into drift. When the line pushes back
// (its reader is slow) the player waits and then resumes at line pace instead of catching up
// in a rush; when nothing at all is taken for stallLimit, the bytes are dropped, as on a
// serial line with nobody at the other end, until the line takes bytes again.
class ReportPlayer {
public:
    ReportPlayer(PlayClock& clock, ByteSink& sink, PlayOptions options);

    PlayResult play(const std::vector<ReportFile>& files);

private:
    void sendBurst(std::string_view burst, PlayClock::time_point start);
    bool deliver(std::string_view bytes);
    PlayClock::duration transmitTime(std::size_t bytes) const;

    PlayClock& clock_;
    ByteSink& sink_;
    PlayOptions options_;
    PlayResult result_;
    PlayClock::time_point lineFree_; // when the last byte sent so far has left the line
    bool dropping_ = false;
};

} // namespace kelvor
