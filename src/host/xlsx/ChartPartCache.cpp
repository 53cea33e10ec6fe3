#include "host/xlsx/ChartPartCache.h"

#include "host/xlsx/ChartXml.h"

#include <cstring>
#include <vector>

namespace kelvor {

namespace {

class Hash {
public:
    // A word at a time: a series holds thousands of numbers.
    void bytes(const void* data, std::size_t size) {
        const auto* p = static_cast<const unsigned char*>(data);
        std::size_t i = 0;
        for (; i + 8 <= size; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, p + i, 8);
            mix(word);
        }
        for (; i < size; ++i) {
            mix(p[i]);
        }
    }
    template <class T> void number(T n) { bytes(&n, sizeof n); }
    void text(const std::string& s) {
        number(s.size());
        bytes(s.data(), s.size());
    }
    // Each array's hash is worked out once: a summary plot's hundreds of curves are hashed
    // at every write.
    void numbers(const SeriesValues& v) {
        number(v.size());
        number(v.fingerprint());
    }
    std::uint64_t value() const { return value_; }

private:
    void mix(std::uint64_t word) {
        value_ = (value_ ^ word) * 0x100000001B3ULL;
        value_ ^= value_ >> 29;
    }

    std::uint64_t value_ = 0xCBF29CE484222325ULL;
};

// Everything the series' XML depends on; its id does not show in the file. The bindings name
// every field of a series, so a field added later does not compile here until it is compared
// and hashed (or said to be left out, as the id is).
bool sameSeries(const ChartSeries& a, const ChartSeries& b) {
    [[maybe_unused]] const auto& [name, xValuesRef, valuesRef, xValues, values, axisGroup, border,
                                  id, xFormat, valuesFormat, nameRef] = a;
    return name == b.name && xValuesRef == b.xValuesRef && valuesRef == b.valuesRef &&
           axisGroup == b.axisGroup && border == b.border && xFormat == b.xFormat &&
           valuesFormat == b.valuesFormat && nameRef == b.nameRef && xValues.sameBits(b.xValues) &&
           values.sameBits(b.values);
}

std::uint64_t hashOf(const ChartSeries& s, std::size_t index, int chartType) {
    [[maybe_unused]] const auto& [name, xValuesRef, valuesRef, xValues, values, axisGroup, border,
                                  id, xFormat, valuesFormat, nameRef] = s;
    Hash h;
    h.number(index);
    h.number(chartType);
    h.text(name);
    h.text(xValuesRef);
    h.text(valuesRef);
    h.number(axisGroup);
    const auto& [colorIndex, weight, lineStyle] = border;
    h.number(colorIndex);
    h.number(weight);
    h.number(lineStyle);
    h.text(xFormat);
    h.text(valuesFormat);
    h.text(nameRef);
    h.numbers(xValues);
    h.numbers(values);
    return h.value();
}

} // namespace

SharedFragment ChartPartCache::seriesFragment(const ChartSeries& series, std::size_t index,
                                              int chartType) {
    const auto key = hashOf(series, index, chartType);
    const auto [first, last] = pieces_.equal_range(key);
    for (auto it = first; it != last; ++it) {
        auto& piece = it->second;
        if (piece.index == index && piece.chartType == chartType &&
            sameSeries(piece.series, series)) {
            piece.used = true;
            return piece.fragment;
        }
    }
    auto fragment = std::make_shared<const DeflateFragment>(
        compressFragment(seriesXml(series, index, chartType)));
    return pieces_.emplace(key, Piece{series, index, chartType, std::move(fragment), true})
        ->second.fragment;
}

CompressedPart ChartPartCache::compress(std::string name, const Chart& chart) {
    struct Sink : ChartXmlSink {
        ChartPartCache& cache;
        std::vector<SharedFragment> pieces; // the XML around the series is small, made anew

        explicit Sink(ChartPartCache& c) : cache(c) {}
        void text(std::string_view xml) override {
            if (!xml.empty()) {
                pieces.push_back(std::make_shared<const DeflateFragment>(compressFragment(xml)));
            }
        }
        void series(const ChartSeries& s, std::size_t index, int chartType) override {
            pieces.push_back(cache.seriesFragment(s, index, chartType));
        }
    } sink(*this);
    writeChartXml(chart, sink);
    return joinFragments(std::move(name), std::move(sink.pieces));
}

void ChartPartCache::endWrite() {
    std::erase_if(pieces_, [](const auto& entry) { return !entry.second.used; });
    for (auto& [key, piece] : pieces_) {
        piece.used = false;
    }
}

} // namespace kelvor
