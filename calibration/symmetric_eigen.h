#pragma once

// Eigenvalues and eigenvectors of a small symmetric matrix, by Eigen's
// self-adjoint solver, as a plain record: callers and tests need no Eigen.
constexpr int maxEigenSize = 4;

struct SymmetricEigen {
    int size = 0;
    double values[maxEigenSize] = {};                // in decreasing order
    double vectors[maxEigenSize][maxEigenSize] = {}; // vectors[k] belongs to values[k]
};

// a is row-major size x size, only its symmetric part is used; size from 1 to 4.
SymmetricEigen symmetricEigen(const double* a, int size);
