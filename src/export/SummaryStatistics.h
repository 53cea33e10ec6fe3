#pragma once

namespace kelvor {

// The running sums and extremes of the Summary sheet over the counted tests.
struct SummaryStatistics {
    double n = 0;
    double sumF = 0;
    double sumF2 = 0;
    double sumD = 0;
    double sumD2 = 0;
    double maxF = 0;
    double maxD = 0;
    double minF = 0;
    double minD = 0;

    // Counts one test. False, with nothing changed, when a sum, an average or a spread would
    // no longer be a finite number: such a test cannot be summarised with the others.
    bool add(double force, double deformation);

    double averageForce() const { return sumF / n; }
    double averageDeformation() const { return sumD / n; }
    double forceSpread() const;
    double deformationSpread() const;
};

} // namespace kelvor
