#include "host/xlsx/WorksheetPartCache.h"

#include "host/model/Worksheet.h"
#include "host/xlsx/WorksheetXml.h"

#include <deque>

namespace kelvor {

namespace {

// Stored additions a row may collect before it is compressed anew: each costs its bytes
// uncompressed.
constexpr std::size_t kMaxChain = 8;
// Text up to this size is stored: compressing it would not pay.
constexpr std::size_t kStoredText = 256;

} // namespace

CompressedPart WorksheetPartCache::compress(std::string name, const Worksheet& sheet) {
    const auto known = sheets_.find(sheet.name());
    Rows rows;
    if (known == sheets_.end()) {
        // First seen: one stream, the rows only remembered for the next time.
        struct Whole : WorksheetXmlSink {
            Rows& rows;
            std::string out;
            explicit Whole(Rows& r) : rows(r) {}
            void text(std::string_view xml) override { out += xml; }
            void row(std::uint32_t row, std::string_view xml) override {
                out += xml;
                rows[row].xml = std::string(xml);
            }
        } whole(rows);
        writeWorksheetXml(sheet, whole);
        written_[sheet.name()] = std::move(rows);
        return compressPart(std::move(name), whole.out);
    }

    struct Pieces : WorksheetXmlSink {
        const Rows& before;
        Rows& rows;
        FragmentCompressor& compressor;
        std::string pending;
        std::deque<DeflateFragment> texts;
        std::vector<const DeflateFragment*> pieces;

        Pieces(const Rows& b, Rows& r, FragmentCompressor& c) : before(b), rows(r), compressor(c) {}

        void flush() {
            if (!pending.empty()) {
                pieces.push_back(&texts.emplace_back(pending.size() <= kStoredText
                                                         ? storeFragment(pending)
                                                         : compressor.compress(pending)));
                pending.clear();
            }
        }
        void text(std::string_view xml) override { pending += xml; }
        void row(std::uint32_t number, std::string_view xml) override {
            flush();
            auto& now = rows[number];
            const auto old = before.find(number);
            if (old != before.end() && !old->second.chain.empty() &&
                old->second.chain.size() < kMaxChain && xml.size() >= old->second.xml.size() &&
                xml.compare(0, old->second.xml.size(), old->second.xml) == 0) {
                now.chain = old->second.chain;
                const auto added = xml.substr(old->second.xml.size());
                if (!added.empty()) {
                    now.chain.push_back(
                        std::make_shared<const DeflateFragment>(storeFragment(added)));
                }
            } else {
                now.chain = {std::make_shared<const DeflateFragment>(compressor.compress(xml))};
            }
            now.xml = std::string(xml);
            for (const auto& piece : now.chain) {
                pieces.push_back(piece.get());
            }
        }
    } pieces(known->second, rows, compressor_);
    writeWorksheetXml(sheet, pieces);
    pieces.flush();
    auto part = joinFragments(std::move(name), pieces.pieces);
    written_[sheet.name()] = std::move(rows);
    return part;
}

void WorksheetPartCache::endWrite() {
    sheets_ = std::move(written_);
    written_.clear();
}

} // namespace kelvor
