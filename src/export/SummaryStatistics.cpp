#include "export/SummaryStatistics.h"

#include <cmath>
#include <initializer_list>

namespace kelvor {

namespace {

// Population standard deviation from the running sums; the absolute value keeps a tiny
// negative difference from rounding out of the square root.
double standardDeviation(double n, double sum, double sumOfSquares) {
    return std::sqrt(std::abs(n * sumOfSquares - sum * sum) / (n * n));
}

// Whether every value written from the sums is finite. The spread's two products are the
// largest intermediate values, so they are checked themselves.
bool finite(const SummaryStatistics& s) {
    for (const double value : {s.n, s.sumF, s.sumF2, s.sumD, s.sumD2, s.n * s.sumF2,
                               s.sumF * s.sumF, s.n * s.sumD2, s.sumD * s.sumD}) {
        if (!std::isfinite(value)) {
            return false;
        }
    }
    return true;
}

} // namespace

bool SummaryStatistics::add(double force, double deformation) {
    SummaryStatistics next = *this;
    // The extremes start from the first counted test: fixed starting values (0 and a
    // "large" force) would report a maximum or minimum no test had once every force lies
    // beyond them.
    if (n == 0) {
        next.maxF = next.minF = force;
        next.maxD = next.minD = deformation;
    }
    next.n = n + 1;
    next.sumF = sumF + force;
    next.sumF2 = sumF2 + force * force;
    next.sumD = sumD + deformation;
    next.sumD2 = sumD2 + deformation * deformation;
    // Strictly: among equal forces the first test keeps its deformation.
    if (force > next.maxF) {
        next.maxF = force;
        next.maxD = deformation;
    }
    if (force < next.minF) {
        next.minF = force;
        next.minD = deformation;
    }
    if (!finite(next)) {
        return false;
    }
    *this = next;
    return true;
}

double SummaryStatistics::forceSpread() const {
    return standardDeviation(n, sumF, sumF2);
}

double SummaryStatistics::deformationSpread() const {
    return standardDeviation(n, sumD, sumD2);
}

} // namespace kelvor
