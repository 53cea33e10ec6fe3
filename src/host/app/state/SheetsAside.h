#pragma once

#include "host/model/Sheet.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace kelvor {

namespace xl {
class SummaryFollow;
}

struct ApplicationState;
struct BookState;

// Sheets a caller took out of a workbook to rebuild them, kept so that it can put them back
// instead when the sheets in front of them did not change since it marked them: a summary
// then follows the workbook instead of being made again from nothing.
struct SheetsAside {
    // In the order they were set aside.
    std::vector<std::unique_ptr<Sheet>> sheets;
    // The sheets in front, by key and revision, when last marked, and the mark's token.
    std::vector<std::pair<std::uint64_t, std::uint64_t>> marked;
    std::uint64_t token = 0;
};

// Takes the sheet out as deleting it would (the same active sheet afterwards, the same
// refusal for the last visible sheet) and keeps it aside.
void setSheetAside(ApplicationState& app, BookState& book, std::size_t index);

// Remembers the state of the first `count` sheets; gives a token no other mark has.
std::uint64_t markSheets(BookState& book, std::size_t count);

// When `token` is the book's last mark, its sheets still stand unchanged in front and `count`
// sheets are aside, appends them, last set aside first, as if made anew, and returns true.
// Otherwise drops them. Either way nothing stays aside.
bool putSheetsBack(BookState& book, std::uint64_t token, std::size_t count);

void dropSheetsAside(BookState& book);

// The book's answer to Workbook::FollowSummary: the functions above behind the export's
// interface, with the checks and the change marks of the other workbook members.
std::shared_ptr<xl::SummaryFollow> summaryFollowOf(std::shared_ptr<ApplicationState> app,
                                                   std::shared_ptr<BookState> book);

} // namespace kelvor
