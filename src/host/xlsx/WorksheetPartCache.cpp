#include "host/xlsx/WorksheetPartCache.h"

#include "host/model/CellAddress.h"
#include "host/model/Worksheet.h"
#include "host/xlsx/WorksheetXml.h"

#include <algorithm>

namespace kelvor {

namespace {

// Stored additions a row may collect before it is compressed anew: each costs its bytes
// uncompressed. The limit differs from row to row so that rows grown together are not all
// compressed anew in the same write.
std::uint32_t maxAdditions(std::uint32_t row) {
    return 8 + row % 8;
}
// Text up to this size is stored: compressing it would not pay.
constexpr std::size_t kStoredText = 256;
// Past every column: nothing of the row is wanted.
constexpr std::uint32_t kNoColumn = kMaxColumns + 1;

std::vector<std::vector<SharedFormulas::Run>> runsByColumn(const SharedFormulas& shared) {
    std::vector<std::vector<SharedFormulas::Run>> runs(shared.columnCount());
    for (std::uint32_t column = 1; column <= shared.columnCount(); ++column) {
        runs[column - 1] = shared.runs(column);
    }
    return runs;
}

// Which cells of the sheet may be written differently than at revision `since`, when the
// shared formulas were `before`.
class Changes {
public:
    Changes(const Worksheet& sheet, std::uint64_t since,
            const std::vector<std::vector<SharedFormulas::Run>>& before,
            const SharedFormulas& after)
        : sheet_(sheet), since_(since), anyRow_(sheet.rowsRevision() > since) {
        const auto used = sheet.usedRange();
        for (std::uint32_t c = 1; used && c <= used->lastColumn; ++c) {
            if (sheet.columnsRevision(c, c) > since) {
                firstColumn_ = c;
                break;
            }
        }
        const auto columns =
            std::max(static_cast<std::uint32_t>(before.size()), after.columnCount());
        for (std::uint32_t c = 1; c <= columns; ++c) {
            const auto& old = c <= before.size() ? before[c - 1] : after.runs(kNoColumn);
            if (old == after.runs(c)) {
                continue;
            }
            for (const auto& stretch : changedRows(old, after.runs(c))) {
                for (auto r = stretch.firstRow; r <= stretch.lastRow; ++r) {
                    auto [at, fresh] = byRuns_.try_emplace(r, c);
                    at->second = std::min(at->second, c);
                }
            }
        }
    }

    // The first column of the row whose cell may have changed, or kNoColumn. Conservative: a
    // changed row counts from the first changed column of the sheet.
    std::uint32_t firstChanged(std::uint32_t row) const {
        auto first = kNoColumn;
        if (anyRow_ || sheet_.rowRevision(row) > since_) {
            first = firstColumn_;
        }
        if (const auto found = byRuns_.find(row); found != byRuns_.end()) {
            first = std::min(first, found->second);
        }
        return first;
    }

private:
    const Worksheet& sheet_;
    std::uint64_t since_;
    bool anyRow_;
    std::uint32_t firstColumn_ = kNoColumn;
    std::unordered_map<std::uint32_t, std::uint32_t> byRuns_;
};

} // namespace

// A sheet seen for the first time: one stream, the rows only remembered for the next time.
struct WorksheetPartCache::WholeSink : WorksheetXmlSink {
    Sheet& now;
    std::string out;
    explicit WholeSink(Sheet& n) : now(n) {}
    void text(std::string_view xml) override { out += xml; }
    std::uint32_t firstWanted(std::uint32_t row, std::string_view head,
                              std::uint32_t lastColumn) override {
        now.rows.push_back({row, lastColumn, std::string(head), nullptr, 0});
        return 1;
    }
    void row(std::uint32_t, std::string_view xml) override { out += xml; }
};

// A sheet written before: each row made, extended or taken over from the last write.
struct WorksheetPartCache::PieceSink : WorksheetXmlSink {
    Sheet& before;
    Sheet& now;
    RowWork& work;
    const Changes changes;
    FragmentCompressor& compressor;
    std::string pending;
    std::vector<SharedFragment> pieces;
    std::uint32_t wanted = 1;
    Row* old = nullptr;
    std::size_t next = 0; // in before.rows: rows come in order, so the old one is found ahead

    // The row as written before, or null.
    Row* oldRow(std::uint32_t number) {
        auto& rows = before.rows;
        while (next < rows.size() && rows[next].number < number) {
            ++next;
        }
        return next < rows.size() && rows[next].number == number ? &rows[next] : nullptr;
    }

    PieceSink(Sheet& b, Sheet& n, RowWork& w, const Worksheet& sheet, const SharedFormulas& shared,
              FragmentCompressor& c)
        : before(b), now(n), work(w), changes(sheet, b.revision, b.runs, shared), compressor(c) {}

    void flush() {
        if (!pending.empty()) {
            pieces.push_back(std::make_shared<const DeflateFragment>(
                pending.size() <= kStoredText ? storeFragment(pending)
                                              : compressor.compress(pending)));
            pending.clear();
        }
    }
    void text(std::string_view xml) override { pending += xml; }
    std::uint32_t firstWanted(std::uint32_t number, std::string_view head,
                              std::uint32_t lastColumn) override {
        old = oldRow(number);
        auto& kept = now.rows.emplace_back();
        kept.number = number;
        kept.lastColumn = lastColumn;
        const bool sameHead = old != nullptr && old->head == head;
        if (sameHead) {
            kept.head = std::move(old->head); // the same text, without making it again
        } else {
            kept.head = std::string(head);
        }
        if (old != nullptr && !old->piece) {
            old = nullptr; // written as part of a whole: nothing kept to build on
        }
        wanted = 1;
        // A cell removed from the end leaves its column changed in this row, so it never
        // passes for an unchanged row.
        if (old != nullptr && sameHead && lastColumn >= old->lastColumn &&
            changes.firstChanged(number) > old->lastColumn) {
            if (lastColumn == old->lastColumn) {
                wanted = kNoColumn;
            } else if (old->additions < maxAdditions(number)) {
                wanted = old->lastColumn + 1;
            }
        }
        return wanted;
    }
    void row(std::uint32_t, std::string_view xml) override {
        flush();
        auto& kept = now.rows.back(); // asked for by firstWanted just before
        if (wanted == 1) {
            ++work.made;
            kept.piece = std::make_shared<DeflateFragment>(compressor.compress(xml));
            kept.additions = 0;
        } else {
            ++(wanted == kNoColumn ? work.kept : work.extended);
            // Taken over, not copied: the kept state is the new write's from here on, and
            // a write that fails later makes this row anew (its piece is left empty).
            kept.piece = std::move(old->piece);
            old->piece = nullptr;
            kept.additions = old->additions;
            if (!xml.empty()) {
                if (kept.piece.use_count() > 1) { // a part written before holds it as it was
                    kept.piece = std::make_shared<DeflateFragment>(*kept.piece);
                }
                appendFragment(*kept.piece, storeFragment(xml));
                ++kept.additions;
            }
        }
        pieces.push_back(kept.piece);
    }
};

CompressedPart WorksheetPartCache::compress(std::string name, const Worksheet& sheet) {
    SharedFormulas shared(sheet);
    Sheet now{sheet.revision(), runsByColumn(shared), {}};
    const auto known = sheets_.find(sheet.key());
    if (known == sheets_.end()) {
        WholeSink whole(now);
        writeWorksheetXml(sheet, shared, whole);
        work_.made += now.rows.size();
        written_[sheet.key()] = std::move(now);
        return compressPart(std::move(name), whole.out);
    }
    now.rows.reserve(known->second.rows.size());
    PieceSink pieces(known->second, now, work_, sheet, shared, compressor_);
    writeWorksheetXml(sheet, shared, pieces);
    pieces.flush();
    auto part = joinFragments(std::move(name), std::move(pieces.pieces));
    written_[sheet.key()] = std::move(now);
    return part;
}

void WorksheetPartCache::endWrite() {
    sheets_ = std::move(written_);
    written_.clear();
    lastWork_ = work_;
    work_ = {};
}

} // namespace kelvor
