#pragma once

// Eigenvalues and eigenvectors of a small symmetric matrix by cyclic Jacobi
// rotations: slow for big matrices, but for 3x3 and 4x4 it converges to the
// last bit and never divides by a small pivot.
constexpr int maxEigenSize = 4;

struct SymmetricEigen {
    int size = 0;
    double values[maxEigenSize] = {};                // in decreasing order
    double vectors[maxEigenSize][maxEigenSize] = {}; // vectors[k] belongs to values[k]
};

// a is row-major size x size, only its symmetric part is used; size from 1 to 4.
SymmetricEigen symmetricEigen(const double* a, int size);
