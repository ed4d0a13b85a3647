#pragma once

#include <QtGlobal>

#include <initializer_list>
#include <type_traits>

namespace orvo {

/// A set of up to 64 members of an unscoped enumeration, in declaration
/// order, as the option sets of the grid need (QFlags holds only 32).
template <typename E> class TSet
{
    static_assert(std::is_enum_v<E>, "TSet holds enumeration members");

public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> members)
    {
        for (E m : members)
            FBits |= Bit(m);
    }

    static constexpr TSet FromBits(quint64 bits)
    {
        TSet s;
        s.FBits = bits;
        return s;
    }
    constexpr quint64 Bits() const { return FBits; }

    /// Every member from `first` to `last` in declaration order, both included.
    static constexpr TSet Range(E first, E last)
    {
        TSet s;
        for (auto index = static_cast<unsigned>(first); index <= static_cast<unsigned>(last); ++index)
            s.FBits |= Bit(static_cast<E>(index));
        return s;
    }

    constexpr bool Contains(E member) const { return (FBits & Bit(member)) != 0; }
    constexpr bool IsEmpty() const { return FBits == 0; }
    constexpr int Count() const { return __builtin_popcountll(FBits); }

    constexpr TSet& Include(E member)
    {
        FBits |= Bit(member);
        return *this;
    }
    constexpr TSet& Exclude(E member)
    {
        FBits &= ~Bit(member);
        return *this;
    }

    /// Union, difference and intersection, as the platform's set operators.
    constexpr TSet operator+(TSet other) const { return FromBits(FBits | other.FBits); }
    constexpr TSet operator-(TSet other) const { return FromBits(FBits & ~other.FBits); }
    constexpr TSet operator*(TSet other) const { return FromBits(FBits & other.FBits); }
    constexpr TSet operator+(E member) const { return FromBits(FBits | Bit(member)); }
    constexpr TSet operator-(E member) const { return FromBits(FBits & ~Bit(member)); }
    constexpr TSet& operator+=(TSet other) { return *this = *this + other; }
    constexpr TSet& operator-=(TSet other) { return *this = *this - other; }
    constexpr TSet& operator*=(TSet other) { return *this = *this * other; }
    constexpr TSet& operator+=(E member) { return Include(member); }
    constexpr TSet& operator-=(E member) { return Exclude(member); }

    /// True when every member of this set is in `other`.
    constexpr bool IsSubsetOf(TSet other) const { return (FBits & ~other.FBits) == 0; }

    constexpr bool operator==(const TSet&) const = default;

private:
    static constexpr quint64 Bit(E member)
    {
        const auto index = static_cast<unsigned>(member);
        return index < 64 ? (quint64(1) << index) : 0;
    }

    quint64 FBits = 0;
};

} // namespace orvo
