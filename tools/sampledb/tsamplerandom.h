#pragma once

#include <QtGlobal>

#include <span>

namespace orvo {

/// The sample data's own pseudo-random generator (xorshift64*). The standard
/// library's distributions differ between implementations, so the sample file
/// would not come out the same everywhere; this one gives identical numbers on
/// every compiler and platform for the same seed.
class TSampleRandom
{
public:
    explicit TSampleRandom(quint64 seed);

    quint64 Next();
    /// A number in [0, count); count must be positive.
    int Below(int count);
    /// A number in [low, high], both included.
    int Between(int low, int high);
    /// True in about `percent` cases out of a hundred.
    bool Chance(int percent);
    /// A money amount in [low, high] with whole cents.
    double Cents(double low, double high);

    template <typename T> const T& Pick(std::span<const T> items)
    {
        return items[size_t(Below(int(items.size())))];
    }

private:
    quint64 FState;
};

} // namespace orvo
