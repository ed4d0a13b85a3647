#include "platform/gridbase/tgridaxis.h"

#include <algorithm>

namespace orvo {

namespace {

int Bounded(int size)
{
    return std::min(size, TGridAxis::MaxSize);
}

} // namespace

void TGridAxis::SetCount(int count)
{
    count = std::max(0, count);
    if (count == Count())
        return;
    FSizes.resize(size_t(count), FDefaultSize);
    Invalidate();
}

void TGridAxis::SetDefaultSize(int size)
{
    size = Bounded(size);
    FDefaultSize = size;
    std::fill(FSizes.begin(), FSizes.end(), size);
    Invalidate();
}

void TGridAxis::SetSize(int index, int size)
{
    size = Bounded(size);
    if (FSizes[size_t(index)] == size)
        return;
    FSizes[size_t(index)] = size;
    Invalidate();
}

void TGridAxis::SetLineWidth(int width)
{
    width = std::clamp(width, 0, MaxSize);
    if (width == FLineWidth)
        return;
    FLineWidth = width;
    Invalidate();
}

int TGridAxis::Extent(int index) const
{
    const int size = Size(index);
    return size < 0 ? 0 : size + FLineWidth;
}

qint64 TGridAxis::Position(int index) const
{
    if (FDirty)
        Rebuild();
    return FPositions[size_t(std::clamp(index, 0, Count()))];
}

int TGridAxis::IndexAt(qint64 offset) const
{
    if (offset < 0 || offset >= Position(Count()))
        return -1;
    // The last cell beginning at or before the offset; cells taking no room begin
    // where their successor does, so they are never the one found.
    const auto it = std::upper_bound(FPositions.begin(), FPositions.end(), offset);
    return int(it - FPositions.begin()) - 1;
}

int TGridAxis::FirstIndexFrom(qint64 offset) const
{
    if (FDirty)
        Rebuild();
    const auto it = std::lower_bound(FPositions.begin(), FPositions.end() - 1, offset);
    return int(it - FPositions.begin());
}

void TGridAxis::Move(int from, int to)
{
    if (from == to)
        return;
    const int size = FSizes[size_t(from)];
    FSizes.erase(FSizes.begin() + from);
    FSizes.insert(FSizes.begin() + to, size);
    Invalidate();
}

void TGridAxis::Scale(int m, int d)
{
    if (d == 0 || m == d)
        return;
    auto scaled = [m, d](int size) {
        return size < 0 ? size : int(std::clamp<qint64>(qint64(size) * m / d, -MaxSize, MaxSize));
    };
    FDefaultSize = scaled(FDefaultSize);
    std::transform(FSizes.begin(), FSizes.end(), FSizes.begin(), scaled);
    Invalidate();
}

void TGridAxis::Rebuild() const
{
    FPositions.resize(FSizes.size() + 1);
    qint64 position = 0;
    for (size_t i = 0; i < FSizes.size(); ++i) {
        FPositions[i] = position;
        position += Extent(int(i));
    }
    FPositions[FSizes.size()] = position;
    FDirty = false;
}

} // namespace orvo
