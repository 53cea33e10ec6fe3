#include "host/xlsx/ZipArchive.h"

#include "host/xlsx/BlockPartCache.h"

#include "XlsxPackage.h"
#include "host/xlsx/XlsxError.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace kelvor {
namespace {

// The part's raw deflate stream, inflated by zlib.
std::string inflated(const CompressedPart& part) {
    std::string stream;
    for (const auto& fragment : part.fragments) {
        stream.append(fragment->data.begin(), fragment->data.end());
    }
    stream.append(part.data.begin(), part.data.end());
    EXPECT_EQ(stream.size(), part.compressedSize());
    z_stream z{};
    EXPECT_EQ(inflateInit2(&z, -MAX_WBITS), Z_OK);
    std::string out(part.size + 16, '\0');
    z.next_in = reinterpret_cast<Bytef*>(stream.data());
    z.avail_in = static_cast<uInt>(stream.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END) << "the stream ends, and only at its end";
    EXPECT_EQ(z.avail_in, 0U);
    out.resize(z.total_out);
    inflateEnd(&z);
    return out;
}

std::uint32_t crcOf(const std::string& text) {
    return static_cast<std::uint32_t>(
        crc32(0L, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(text.size())));
}

SharedFragment shared(DeflateFragment fragment) {
    return std::make_shared<const DeflateFragment>(std::move(fragment));
}

// joinFragments: a part made of fragments kept from earlier writes and new ones.

TEST(ZipArchiveTest, AJoinedPartHoldsItsFragmentsInOrder) {
    FragmentCompressor compressor;
    const std::string rows(3000, 'r');
    const auto head = shared(compressFragment("<sheetData>"));
    const auto body = shared(compressor.compress(rows));
    const auto tiny = shared(storeFragment("</sheetData>"));
    const auto part = joinFragments("xl/worksheets/sheet1.xml", {head, body, tiny});
    const auto content = "<sheetData>" + rows + "</sheetData>";
    EXPECT_EQ(part.name, "xl/worksheets/sheet1.xml");
    EXPECT_EQ(inflated(part), content);
    EXPECT_EQ(part.size, content.size());
    EXPECT_EQ(part.crc, crcOf(content));
    // The other way round: the order given is the order kept.
    const auto reversed = joinFragments("b.xml", {tiny, head});
    EXPECT_EQ(inflated(reversed), "</sheetData><sheetData>");
    EXPECT_EQ(reversed.crc, crcOf("</sheetData><sheetData>"));
}

TEST(ZipArchiveTest, AJoinedPartSharesItsFragmentsWithTheCache) {
    const auto kept = shared(compressFragment("kept"));
    const auto part = joinFragments("a.xml", {kept, kept});
    ASSERT_EQ(part.fragments.size(), 2U);
    EXPECT_EQ(part.fragments[0].get(), kept.get());
    EXPECT_EQ(part.fragments[1].get(), kept.get());
    EXPECT_EQ(inflated(part), "keptkept");
}

TEST(ZipArchiveTest, EmptyFragmentsAndNoFragmentsGiveAPartAllTheSame) {
    const auto none = joinFragments("empty.xml", {});
    EXPECT_EQ(inflated(none), "");
    EXPECT_EQ(none.size, 0U);
    EXPECT_EQ(none.crc, crcOf(""));
    const auto part =
        joinFragments("a.xml", {shared(compressFragment("")), shared(compressFragment("x")),
                                shared(storeFragment(""))});
    EXPECT_EQ(inflated(part), "x");
    EXPECT_EQ(part.crc, crcOf("x"));
}

TEST(ZipArchiveTest, AJoinedPartTooLargeForAPlainZipIsRefused) {
    // Only the sizes tell; the bytes need not be there. Each piece below 2 GiB, as a 32-bit
    // zlib length takes it.
    DeflateFragment most;
    most.size = 0x7FFFFFFFULL;
    const auto big = shared(most);
    DeflateFragment one;
    one.size = 1;
    const auto last = shared(one);
    EXPECT_NO_THROW(joinFragments("a.xml", {big, big})) << "one byte below the limit";
    const auto refused = [](std::vector<SharedFragment> pieces) {
        try {
            joinFragments("xl/worksheets/sheet7.xml", std::move(pieces));
        } catch (const XlsxError& error) {
            return std::string(error.what()).find("xl/worksheets/sheet7.xml") != std::string::npos;
        }
        return false;
    };
    EXPECT_TRUE(refused({big, big, last})) << "at the limit";
    // Three pieces whose sum wraps a 32-bit count below the limit.
    EXPECT_TRUE(refused({big, big, big}));
}

TEST(ZipArchiveTest, AJoinedPartReadsBackFromTheArchive) {
    const test::TempDir dir;
    const auto file = dir.path() / "joined.zip";
    const auto joined = joinFragments("xl/worksheets/sheet1.xml",
                                      {shared(compressFragment("<a>")), shared(storeFragment("1")),
                                       shared(compressFragment("</a>"))});
    const auto plain = compressPart("[Content_Types].xml", "<Types/>");
    {
        std::ofstream out(file, std::ios::binary);
        writeZip(
            [&](std::string_view bytes) {
                out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            },
            {&plain, &joined});
    }
    const auto entries = test::readPackage(file);
    ASSERT_EQ(entries.size(), 2U);
    EXPECT_EQ(entries.at("xl/worksheets/sheet1.xml").content, "<a>1</a>");
    EXPECT_EQ(entries.at("[Content_Types].xml").content, "<Types/>");
}

// The directory of thousands of parts is handed on in pieces; the archive reads back whole.
TEST(ZipArchiveTest, AnArchiveOfThousandsOfPartsReadsBackWhole) {
    const test::TempDir dir;
    const auto file = dir.path() / "many.zip";
    std::vector<CompressedPart> parts;
    for (int i = 1; i <= 3000; ++i) {
        parts.push_back(compressPart("xl/worksheets/sheet" + std::to_string(i) + ".xml",
                                     "<s>" + std::to_string(i) + "</s>"));
    }
    std::vector<const CompressedPart*> order;
    for (const auto& part : parts) {
        order.push_back(&part);
    }
    std::size_t writes = 0;
    {
        std::ofstream out(file, std::ios::binary);
        writeZip(
            [&](std::string_view bytes) {
                ++writes;
                out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            },
            order);
    }
    const auto entries = test::readPackage(file);
    ASSERT_EQ(entries.size(), 3000U);
    EXPECT_EQ(entries.at("xl/worksheets/sheet1.xml").content, "<s>1</s>");
    EXPECT_EQ(entries.at("xl/worksheets/sheet2999.xml").content, "<s>2999</s>");
    EXPECT_GT(writes, 2 * 3000U + 2) << "the directory in more than one piece";
}

// A part that lists every sheet is made again at each write; only blocks that changed are
// compressed again, and the part always holds exactly the content given.
TEST(ZipArchiveTest, APartKeptInBlocksCompressesOnlyWhatChangedAndHoldsItsContent) {
    BlockPartCache cache;
    std::string content;
    for (int sheet = 1; content.size() < 5 * BlockPartCache::kBlockSize; ++sheet) {
        content += "<Override PartName=\"/xl/worksheets/sheet" + std::to_string(sheet) + ".xml\"/>";
    }
    const auto check = [&](const std::string& what, std::size_t compressed) {
        const auto part = cache.compress("[Content_Types].xml", content);
        EXPECT_EQ(inflated(part), content) << what;
        EXPECT_EQ(part.crc, crcOf(content)) << what;
        EXPECT_EQ(cache.lastCompressed(), compressed) << what;
    };
    check("first", 6);
    check("unchanged", 0);
    content += "<Override PartName=\"/xl/charts/chart9.xml\"/>";
    check("grown at its end", 1);
    content.replace(BlockPartCache::kBlockSize + 10, 1, "X");
    check("one character in the second block", 1);
    content.insert(0, "<?xml?>");
    check("grown at its start, so every block moved", 6);
    content.resize(BlockPartCache::kBlockSize + 3);
    check("cut short", 1);
    content.clear();
    check("empty", 0);
    content = "<Types/>";
    check("small again", 1);
}

// Handed over in pieces of any size, the content gives the part it gives whole, and blocks
// that did not change are taken over all the same.
TEST(ZipArchiveTest, APartKeptInBlocksTakesItsContentInPiecesAsWhole) {
    std::string content;
    for (int sheet = 1; content.size() < 3 * BlockPartCache::kBlockSize + 100; ++sheet) {
        content += "<Relationship Id=\"rId" + std::to_string(sheet) + "\"/>";
    }
    const std::vector<std::size_t> sizes = {1, 7, BlockPartCache::kBlockSize - 3, 0,
                                            BlockPartCache::kBlockSize + 40000};
    const auto inPieces = [&](BlockPartCache& cache) {
        return cache.compress("xl/_rels/workbook.xml.rels", [&](const auto& piece) {
            std::size_t at = 0;
            for (std::size_t i = 0; at < content.size(); ++i) {
                const auto size = std::min(sizes[i % sizes.size()], content.size() - at);
                piece(std::string_view(content).substr(at, size));
                at += size;
            }
        });
    };
    BlockPartCache whole;
    BlockPartCache pieced;
    for (const char* step : {"first", "unchanged", "grown"}) {
        const auto expected = whole.compress("xl/_rels/workbook.xml.rels", content);
        const auto part = inPieces(pieced);
        EXPECT_EQ(inflated(part), content) << step;
        EXPECT_EQ(part.crc, expected.crc) << step;
        EXPECT_EQ(pieced.lastCompressed(), whole.lastCompressed()) << step;
        content += "<Relationship Id=\"rIdX\"/>";
    }
}

} // namespace
} // namespace kelvor
