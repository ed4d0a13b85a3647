#include "sampledb/tsamplerandom.h"

#include <cmath>

namespace orvo {

TSampleRandom::TSampleRandom(quint64 seed) : FState(seed ? seed : 0x9E3779B97F4A7C15ull)
{
    // A zero state would stay zero forever, hence the substitute above.
}

quint64 TSampleRandom::Next()
{
    FState ^= FState >> 12;
    FState ^= FState << 25;
    FState ^= FState >> 27;
    return FState * 0x2545F4914F6CDD1Dull;
}

int TSampleRandom::Below(int count)
{
    // The top bits of xorshift64* are the well-mixed ones.
    return int((Next() >> 32) % quint64(count));
}

int TSampleRandom::Between(int low, int high)
{
    return low + Below(high - low + 1);
}

bool TSampleRandom::Chance(int percent)
{
    return Below(100) < percent;
}

double TSampleRandom::Cents(double low, double high)
{
    const qint64 lowCents = std::llround(low * 100);
    const qint64 span = std::llround(high * 100) - lowCents + 1;
    return double(lowCents + qint64((Next() >> 11) % quint64(span))) / 100.0;
}

} // namespace orvo
