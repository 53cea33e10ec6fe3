#pragma once

#include <cstdint>

namespace kelvor::xl {

// What an application that can keep a workbook's summary sheets aside hands out: the summary
// then follows the workbook (the sheets put back and extended) rather than being made again
// from nothing. The automation object model has no such thing; Workbook::FollowSummary
// answers nothing there, and the summary sheets are deleted and rebuilt.
class SummaryFollow {
public:
    virtual ~SummaryFollow() = default;
    // Takes the sheet at `index` out as Delete does, and keeps it.
    virtual void setAside(std::int32_t index) = 0;
    // Marks the state of the first `count` sheets; the token for putBack.
    virtual std::uint64_t mark(std::int32_t count) = 0;
    // When `token` is the last mark, its sheets stand unchanged in front and `count` sheets
    // are aside, appends them in their order, as if made anew (true); otherwise drops them
    // (false). Either way nothing stays aside.
    virtual bool putBack(std::uint64_t token, std::int32_t count) = 0;
    // Forgets whatever is aside.
    virtual void drop() = 0;
};

} // namespace kelvor::xl
