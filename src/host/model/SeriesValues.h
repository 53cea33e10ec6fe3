#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <vector>

namespace kelvor {

// The numbers of a chart series, shared by its copies: a report's chart, the summary plot that
// shows the same cells and the caches that remember what was read and written hold one array
// between them. Changing a copy leaves the others as they were.
class SeriesValues {
public:
    SeriesValues() = default;
    SeriesValues(std::vector<double> values) // NOLINT(google-explicit-constructor): numbers
        : values_(values.empty() ? nullptr
                                 : std::make_shared<std::vector<double>>(std::move(values))) {}
    SeriesValues(std::initializer_list<double> values) // NOLINT(google-explicit-constructor)
        : SeriesValues(std::vector<double>(values)) {}

    const std::vector<double>& vector() const { return values_ ? *values_ : empty_; }
    operator const std::vector<double>&() const { return vector(); } // NOLINT: reads as one
    std::size_t size() const { return vector().size(); }
    bool empty() const { return vector().empty(); }
    double operator[](std::size_t i) const { return vector()[i]; }
    double at(std::size_t i) const { return vector().at(i); }
    double front() const { return vector().front(); }
    double back() const { return vector().back(); }
    auto begin() const { return vector().begin(); }
    auto end() const { return vector().end(); }
    // The same array as `other`: a copy of it, or of one it was copied from.
    bool sharedWith(const SeriesValues& other) const { return values_ == other.values_; }

    double& operator[](std::size_t i) { return own()[i]; }
    void push_back(double value) { own().push_back(value); }
    void clear() { values_.reset(); }

    // As vectors compare: a gap (NaN) differs from everything, itself included.
    friend bool operator==(const SeriesValues& a, const SeriesValues& b) {
        return a.vector() == b.vector();
    }
    friend bool operator==(const SeriesValues& a, const std::vector<double>& b) {
        return a.vector() == b;
    }
    friend std::ostream& operator<<(std::ostream& out, const SeriesValues& values) {
        out << '{';
        for (std::size_t i = 0; i < values.size(); ++i) {
            out << (i == 0 ? "" : ", ") << values[i];
        }
        return out << '}';
    }

private:
    std::vector<double>& own() {
        if (!values_) {
            values_ = std::make_shared<std::vector<double>>();
        } else if (values_.use_count() > 1) {
            values_ = std::make_shared<std::vector<double>>(*values_);
        }
        return *values_;
    }

    static inline const std::vector<double> empty_;
    std::shared_ptr<std::vector<double>> values_;
};

} // namespace kelvor
