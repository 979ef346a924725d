#include "calibration/symmetric_eigen.h"

#include <Eigen/Eigenvalues>

#include <algorithm>

SymmetricEigen symmetricEigen(const double* a, int size) {
    // At most 4 x 4, so the solver never allocates.
    using Small = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor,
                                maxEigenSize, maxEigenSize>;
    using Given = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;
    SymmetricEigen result;
    const int n = std::clamp(size, 1, maxEigenSize);
    result.size = n;
    const Eigen::Map<const Given> given(a, n, n);
    // The solver reads one triangle; the symmetric part uses both.
    const Small symmetric = 0.5 * (given + given.transpose());
    const Eigen::SelfAdjointEigenSolver<Small> solver(symmetric);
    // Eigen's values increase: the largest is the last.
    for (int k = 0; k < n; ++k) {
        result.values[k] = solver.eigenvalues()(n - 1 - k);
        for (int r = 0; r < n; ++r) {
            result.vectors[k][r] = solver.eigenvectors()(r, n - 1 - k);
        }
    }
    return result;
}
