#include "math/transform.h"
#include "tests/math/matrix_assert.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace {

// Plain reference implementations in extended precision, written without the
// cofactor machinery of the code under test.
Transform referenceProduct(const Transform& a, const Transform& b) {
    Transform p;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            long double sum = 0.0L;
            for (int k = 0; k < 4; ++k) {
                sum += static_cast<long double>(at(a, i, k)) * at(b, k, j);
            }
            at(p, i, j) = static_cast<double>(sum);
        }
    }
    return p;
}

// Gauss-Jordan elimination with partial pivoting; returns the determinant too.
Transform referenceInverse(const Transform& m, double& determinantOut) {
    long double a[4][8];
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            a[r][c] = at(m, r, c);
            a[r][c + 4] = r == c ? 1.0L : 0.0L;
        }
    }
    long double det = 1.0L;
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 4; ++r) {
            if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) {
                pivot = r;
            }
        }
        if (pivot != col) {
            for (int c = 0; c < 8; ++c) {
                std::swap(a[pivot][c], a[col][c]);
            }
            det = -det;
        }
        const long double p = a[col][col];
        det *= p;
        for (int c = 0; c < 8; ++c) {
            a[col][c] /= p;
        }
        for (int r = 0; r < 4; ++r) {
            if (r != col) {
                const long double f = a[r][col];
                for (int c = 0; c < 8; ++c) {
                    a[r][c] -= f * a[col][c];
                }
            }
        }
    }
    Transform inv;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            at(inv, r, c) = static_cast<double>(a[r][c + 4]);
        }
    }
    determinantOut = static_cast<double>(det);
    return inv;
}

// A rotation from a random unit quaternion (closed form) and a translation.
Transform randomRigid(std::mt19937& rng) {
    std::normal_distribution<double> normal;
    std::uniform_real_distribution<double> position(-2000.0, 2000.0);
    double w = normal(rng), x = normal(rng), y = normal(rng), z = normal(rng);
    const double n = std::sqrt(w * w + x * x + y * y + z * z);
    w /= n, x /= n, y /= n, z /= n;
    return Transform{{1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y),
                      position(rng), 2 * (x * y + w * z), 1 - 2 * (x * x + z * z),
                      2 * (y * z - w * x), position(rng), 2 * (x * z - w * y), 2 * (y * z + w * x),
                      1 - 2 * (x * x + y * y), position(rng), 0, 0, 0, 1}};
}

// A full matrix, bottom row included, kept well conditioned by its diagonal.
Transform randomGeneral(std::mt19937& rng) {
    std::uniform_real_distribution<double> value(-10.0, 10.0);
    Transform m;
    for (double& e : m.e) {
        e = value(rng);
    }
    for (int i = 0; i < 4; ++i) {
        at(m, i, i) += at(m, i, i) < 0 ? -40.0 : 40.0;
    }
    return m;
}

TEST(TransformTest, SetIdentityWritesEveryElement) {
    Transform m;
    for (double& e : m.e) {
        e = 7.5;
    }
    setIdentity(m);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(at(m, r, c), r == c ? 1.0 : 0.0) << r << "," << c;
        }
    }
    EXPECT_TRUE(transformsNear(m, identityTransform(), 0.0));
}

TEST(TransformTest, IdentityIsNeutralExactly) {
    std::mt19937 rng(20240611);
    const Transform identity = identityTransform();
    EXPECT_TRUE(transformsNear(identity, inverse(identity), 0.0));
    for (int i = 0; i < 20; ++i) {
        SCOPED_TRACE(i);
        const Transform m = i % 2 == 0 ? randomRigid(rng) : randomGeneral(rng);
        EXPECT_TRUE(transformsNear(m, multiply(m, identity), 0.0));
        EXPECT_TRUE(transformsNear(m, multiply(identity, m), 0.0));
    }
}

TEST(TransformTest, ProductAppliesRightOperandFirst) {
    const Transform shift{{1, 0, 0, 10, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    const Transform turn{{0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    const Transform shiftThenTurn = multiply(turn, shift);
    const Transform turnThenShift = multiply(shift, turn);
    EXPECT_TRUE(rotationsNear(turn, shiftThenTurn, 0.0));
    EXPECT_TRUE(rotationsNear(turn, turnThenShift, 0.0));
    EXPECT_EQ(at(turnThenShift, 0, 3), 10.0);
    EXPECT_EQ(at(turnThenShift, 1, 3), 0.0);
    EXPECT_EQ(at(shiftThenTurn, 0, 3), 0.0);
    EXPECT_EQ(at(shiftThenTurn, 1, 3), 10.0);
}

TEST(TransformTest, ProductSumsLeftToRight) {
    // 2^53 + 1 rounds back to 2^53: summed left to right the row gives 1, any
    // other order 0 or 2.
    const double big = 9007199254740992.0;
    Transform a;
    at(a, 0, 0) = big;
    at(a, 0, 1) = 1.0;
    at(a, 0, 2) = -big;
    at(a, 0, 3) = 1.0;
    Transform ones;
    for (int k = 0; k < 4; ++k) {
        at(ones, k, 0) = 1.0;
    }
    EXPECT_EQ(at(multiply(a, ones), 0, 0), 1.0);
}

TEST(TransformTest, TransposeExchangesTranslationAndBottomRow) {
    const Transform m{{1, 2, 3, 10, 4, 5, 6, 20, 7, 8, 9, 30, 0, 0, 0, 1}};
    const Transform expected{{1, 4, 7, 0, 2, 5, 8, 0, 3, 6, 9, 0, 10, 20, 30, 1}};
    EXPECT_TRUE(transformsNear(expected, transpose(m), 0.0));
}

TEST(TransformTest, DeterminantOfTheFullMatrix) {
    struct Case {
        const char* name;
        Transform m;
        double expected;
    };
    const Case cases[] = {
        {"diagonal", {{2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 5}}, 120.0},
        {"rows 0 and 3 swapped", {{0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0}}, -1.0},
        {"bottom row takes part", {{1, 0, 0, 5, 0, 1, 0, 6, 0, 0, 1, 7, 1, 2, 3, 4}}, -34.0},
        {"two equal rows", {{1, 2, 3, 4, 5, 6, 7, 8, 1, 2, 3, 4, 0, 0, 0, 1}}, 0.0},
        {"rotation with translation", {{0, -1, 0, 9, 1, 0, 0, 8, 0, 0, 1, 7, 0, 0, 0, 1}}, 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(determinant(c.m), c.expected);
    }
}

TEST(TransformTest, RandomProductsAndInversesMatchReference) {
    std::mt19937 rng(977);
    for (int i = 0; i < 200; ++i) {
        SCOPED_TRACE(i);
        const bool rigid = i % 2 == 0;
        const Transform a = rigid ? randomRigid(rng) : randomGeneral(rng);
        const Transform b = rigid ? randomRigid(rng) : randomGeneral(rng);
        // Translations reach 2000 mm, so their tolerance scales with them.
        const double tolerance = rigid ? 1e-9 : 1e-12;

        EXPECT_TRUE(transformsNear(referenceProduct(a, b), multiply(a, b), tolerance));

        double expectedDeterminant = 0.0;
        const Transform expectedInverse = referenceInverse(a, expectedDeterminant);
        EXPECT_NEAR(determinant(a), expectedDeterminant, 1e-12 * std::fabs(expectedDeterminant));
        const Transform inv = inverse(a);
        EXPECT_TRUE(transformsNear(expectedInverse, inv, tolerance));
        EXPECT_TRUE(transformsNear(a, inverse(inv), tolerance));
        EXPECT_TRUE(transformsNear(identityTransform(), multiply(a, inv), tolerance));
    }
}

TEST(TransformTest, InverseOfRigidTransformTransposesRotation) {
    std::mt19937 rng(31337);
    for (int i = 0; i < 50; ++i) {
        SCOPED_TRACE(i);
        const Transform m = randomRigid(rng);
        const Transform inv = inverse(m);
        EXPECT_TRUE(rotationsNear(transpose(m), inv, 1e-12));
        for (int r = 0; r < 3; ++r) {
            const double expected = -(at(m, 0, r) * at(m, 0, 3) + at(m, 1, r) * at(m, 1, 3) +
                                      at(m, 2, r) * at(m, 2, 3));
            EXPECT_NEAR(at(inv, r, 3), expected, 1e-9);
            EXPECT_NEAR(at(inv, 3, r), 0.0, 1e-15);
        }
        EXPECT_NEAR(at(inv, 3, 3), 1.0, 1e-15);
    }
}

TEST(TransformTest, SingularMatrixGivesNonFiniteInverse) {
    const Transform zeros;
    for (double e : inverse(zeros).e) {
        EXPECT_TRUE(std::isnan(e));
    }
    const Transform flat{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}};
    bool anyNonFinite = false;
    for (double e : inverse(flat).e) {
        anyNonFinite = anyNonFinite || !std::isfinite(e);
    }
    EXPECT_TRUE(anyNonFinite);
}

TEST(TransformTest, FromFloatsWidensExactlyInRowOrder) {
    float values[16];
    for (int i = 0; i < 16; ++i) {
        values[i] = 0.1f * static_cast<float>(i + 1);
    }
    const Transform m = transformFromFloats(values);
    for (int i = 0; i < 16; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(at(m, i / 4, i % 4), static_cast<double>(values[i]));
    }
    EXPECT_NE(at(m, 0, 0), 0.1);
}

} // namespace
