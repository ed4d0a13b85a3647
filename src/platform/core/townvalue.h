#pragma once

namespace orvo {

/// A property value that follows a default until it is given one of its own: a column's
/// colour follows the grid's until it is set, and only an own value that differs from
/// what it would follow is worth storing. The value is kept when it is forgotten, so a
/// class may still read it raw (a font it passes on as its own, say).
template <typename T> class TOwnValue
{
public:
    TOwnValue() = default;
    explicit TOwnValue(const T& initial) : FValue(initial) {}

    bool IsSet() const { return FSet; }
    /// The value kept, own or not.
    const T& Value() const { return FValue; }
    /// The own value when there is one, else `fallback`.
    T Or(const T& fallback) const { return FSet ? FValue : fallback; }
    /// The own value when there is one, else what `fallback()` computes (only then).
    template <typename F> T OrElse(F&& fallback) const { return FSet ? FValue : T(fallback()); }
    /// Makes `value` the own value; false when it already was.
    bool Set(const T& value)
    {
        if (FSet && FValue == value)
            return false;
        FValue = value;
        FSet = true;
        return true;
    }
    /// An own value other than `fallback`: what a stored form must write.
    bool DiffersFrom(const T& fallback) const { return FSet && !(FValue == fallback); }
    /// Follows the default again.
    void Forget() { FSet = false; }
    /// Takes `source`'s own value when it has one; a value it follows is not copied.
    void TakeOwnFrom(const TOwnValue& source)
    {
        if (source.FSet)
            Set(source.FValue);
    }

private:
    T FValue{};
    bool FSet = false;
};

} // namespace orvo
