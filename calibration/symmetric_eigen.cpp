#include "calibration/symmetric_eigen.h"

#include <cmath>
#include <utility>

SymmetricEigen symmetricEigen(const double* a, int size) {
    SymmetricEigen result;
    const int n = size < 1 ? 1 : (size > maxEigenSize ? maxEigenSize : size);
    result.size = n;
    double m[maxEigenSize][maxEigenSize] = {};
    double v[maxEigenSize][maxEigenSize] = {};
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c) {
            m[r][c] = 0.5 * (a[n * r + c] + a[n * c + r]);
        }
        v[r][r] = 1.0;
    }
    // Each sweep annihilates every off-diagonal element once; a handful of
    // sweeps reach the rounding level, fifty is a bound that is never reached.
    for (int sweep = 0; sweep < 50; ++sweep) {
        double off = 0.0;
        for (int p = 0; p < n; ++p) {
            for (int q = p + 1; q < n; ++q) {
                off += m[p][q] * m[p][q];
            }
        }
        if (off == 0.0) {
            break;
        }
        for (int p = 0; p < n; ++p) {
            for (int q = p + 1; q < n; ++q) {
                if (m[p][q] == 0.0) {
                    continue;
                }
                // The rotation angle by the stable formula of Numerical Recipes.
                const double theta = (m[q][q] - m[p][p]) / (2.0 * m[p][q]);
                const double t = (theta >= 0.0 ? 1.0 : -1.0) /
                                 (std::fabs(theta) + std::sqrt(theta * theta + 1.0));
                const double c = 1.0 / std::sqrt(t * t + 1.0);
                const double s = t * c;
                for (int k = 0; k < n; ++k) {
                    const double mkp = m[k][p];
                    const double mkq = m[k][q];
                    m[k][p] = c * mkp - s * mkq;
                    m[k][q] = s * mkp + c * mkq;
                }
                for (int k = 0; k < n; ++k) {
                    const double mpk = m[p][k];
                    const double mqk = m[q][k];
                    m[p][k] = c * mpk - s * mqk;
                    m[q][k] = s * mpk + c * mqk;
                }
                for (int k = 0; k < n; ++k) {
                    const double vkp = v[k][p];
                    const double vkq = v[k][q];
                    v[k][p] = c * vkp - s * vkq;
                    v[k][q] = s * vkp + c * vkq;
                }
            }
        }
    }
    int order[maxEigenSize] = {0, 1, 2, 3};
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            if (m[order[j]][order[j]] > m[order[i]][order[i]]) {
                std::swap(order[i], order[j]);
            }
        }
    }
    for (int k = 0; k < n; ++k) {
        result.values[k] = m[order[k]][order[k]];
        for (int r = 0; r < n; ++r) {
            result.vectors[k][r] = v[r][order[k]];
        }
    }
    return result;
}
