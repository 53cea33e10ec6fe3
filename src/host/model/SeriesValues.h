#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <ostream>
#include <vector>

namespace kelvor {

// The numbers of a chart series, shared by its copies: a report's chart, the summary plot that
// shows the same cells and the caches that remember what was read and written hold one array
// between them. Changing a copy leaves the others as they were.
//
// A report's numbers are decimals of a few digits; such an array is kept as 32-bit integers
// over a power of ten, half the room of doubles, when every number comes back bit for bit from
// its integer. Any other array (computed numbers, -0, gaps that are not the usual NaN) keeps its
// doubles. What is read is the same double either way. A report's curve moves a little from
// one number to the next: where every run of kBlock integers lies within 16 bits of a base, it
// is kept as those bases and 16-bit steps from them, a quarter of the room of doubles.
class SeriesValues {
public:
    class const_iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = double;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = double;

        const_iterator() = default;
        double operator*() const { return (*values_)[index_]; }
        double operator[](difference_type n) const { return (*values_)[index_ + n]; }
        const_iterator& operator++() { return ++index_, *this; }
        const_iterator operator++(int) { return {values_, index_++}; }
        const_iterator& operator--() { return --index_, *this; }
        const_iterator operator--(int) { return {values_, index_--}; }
        const_iterator& operator+=(difference_type n) { return index_ += n, *this; }
        const_iterator& operator-=(difference_type n) { return index_ -= n, *this; }
        friend const_iterator operator+(const_iterator it, difference_type n) { return it += n; }
        friend const_iterator operator+(difference_type n, const_iterator it) { return it += n; }
        friend const_iterator operator-(const_iterator it, difference_type n) { return it -= n; }
        friend difference_type operator-(const_iterator a, const_iterator b) {
            return static_cast<difference_type>(a.index_) - static_cast<difference_type>(b.index_);
        }
        friend bool operator==(const_iterator a, const_iterator b) { return a.index_ == b.index_; }
        friend auto operator<=>(const_iterator a, const_iterator b) {
            return a.index_ <=> b.index_;
        }

    private:
        friend class SeriesValues;
        const_iterator(const SeriesValues* values, std::size_t index)
            : values_(values), index_(index) {}
        const SeriesValues* values_ = nullptr;
        std::size_t index_ = 0;
    };

    SeriesValues() = default;
    SeriesValues(std::vector<double> values); // NOLINT(google-explicit-constructor): numbers
    SeriesValues(std::initializer_list<double> values) // NOLINT(google-explicit-constructor)
        : SeriesValues(std::vector<double>(values)) {}

    static constexpr std::size_t kBlock = 64; // numbers that share one base

    std::size_t size() const {
        return !values_                   ? 0
               : !values_->narrow.empty() ? values_->narrow.size()
               : values_->scaled.empty()  ? values_->doubles.size()
                                          : values_->scaled.size();
    }
    bool empty() const { return size() == 0; }
    double operator[](std::size_t i) const {
        const auto& s = *values_;
        if (!s.narrow.empty()) {
            return decodeNarrow(s.bases[i / kBlock], s.narrow[i], s.decimals);
        }
        return s.scaled.empty() ? s.doubles[i] : decode(s.scaled[i], s.decimals);
    }
    // Throws std::out_of_range past the end.
    double at(std::size_t i) const;
    double front() const { return (*this)[0]; }
    double back() const { return (*this)[size() - 1]; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }
    std::vector<double> toVector() const { return {begin(), end()}; }
    // The same array as `other`: a copy of it, or of one it was copied from.
    bool sharedWith(const SeriesValues& other) const { return values_ == other.values_; }
    // Equal bit for bit, so that gaps (NaN) match gaps.
    bool sameBits(const SeriesValues& other) const;
    // A hash of the numbers' bits, worked out once for each array.
    std::uint64_t fingerprint() const;
    // Bytes the numbers take (their integers or doubles).
    std::size_t bytesHeld() const;

    void set(std::size_t i, double value) { own()[i] = value; }
    void push_back(double value) { own().push_back(value); }
    void clear() { values_.reset(); }

    // As vectors compare: a gap (NaN) differs from everything, itself included.
    friend bool operator==(const SeriesValues& a, const SeriesValues& b);
    friend bool operator==(const SeriesValues& a, const std::vector<double>& b) {
        return a == SeriesValues(b);
    }
    friend std::ostream& operator<<(std::ostream& out, const SeriesValues& values);

private:
    struct Storage {
        std::vector<double> doubles;      // when not kept as integers
        std::vector<std::int32_t> scaled; // number i is scaled[i] / 10^decimals
        // Or number i is (bases[i / kBlock] + narrow[i]) / 10^decimals.
        std::vector<std::int16_t> narrow;
        std::vector<std::int32_t> bases;
        int decimals = 0;
        mutable std::atomic<std::uint64_t> fingerprint{0}; // 0: not worked out yet
    };

    static double decode(std::int32_t scaled, int decimals);
    static double decodeNarrow(std::int32_t base, std::int16_t step, int decimals);
    std::vector<double>& own();

    std::shared_ptr<Storage> values_;
};

} // namespace kelvor
