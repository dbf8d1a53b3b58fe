#pragma once

#include <QtGlobal>
#include <random>

// Every automatic draw takes its chance from here: seeded from the clock in the program, fixed in tests.
class Random {
public:
    explicit Random(quint64 seed) : engine_(seed) {}
    // A uniform index in 0 .. n-1; n must be positive.
    int below(int n) {
        Q_ASSERT(n > 0);
        return std::uniform_int_distribution<int>(0, n - 1)(engine_);
    }
    void reseed(quint64 seed) { engine_.seed(seed); }

private:
    std::mt19937_64 engine_;
};
