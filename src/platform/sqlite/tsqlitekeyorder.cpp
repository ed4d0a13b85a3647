#include "platform/sqlite/tsqlitekeyorder.h"

#include <cstring>

namespace orvo {

namespace {

int StorageClass(const TVariant& v)
{
    switch (v.VarType()) {
    case varEmpty:
    case varNull:
        return 0;
    case varString:
        return 2;
    case varBytes:
        return 3;
    default:
        return 1;
    }
}

int Sign(int v)
{
    return (v > 0) - (v < 0);
}

QByteArray Folded(const QString& text, bool noCase)
{
    QByteArray utf8 = text.toUtf8();
    if (noCase)
        for (char& c : utf8)
            if (c >= 'a' && c <= 'z')
                c = char(c - 'a' + 'A');
    return utf8;
}

int CompareBytes(const QByteArray& a, const QByteArray& b)
{
    const int common = std::memcmp(a.constData(), b.constData(), size_t(std::min(a.size(), b.size())));
    if (common != 0)
        return Sign(common);
    return Sign(int(a.size() > b.size()) - int(a.size() < b.size()));
}

} // namespace

TSQLiteKeyOrder::TSQLiteKeyOrder(std::vector<Part> parts, const QString& rowidSql)
    : FParts(std::move(parts)), FRowid(rowidSql),
      FRowidDescending(!FParts.empty() && FParts.back().Descending)
{}

QString TSQLiteKeyOrder::OrderBy(bool reversed) const
{
    QStringList terms;
    for (const Part& p : FParts)
        terms << p.Sql + (p.Descending != reversed ? QLatin1String(" DESC") : QLatin1String(""));
    terms << FRowid + (FRowidDescending != reversed ? QLatin1String(" DESC") : QLatin1String(""));
    return terms.join(QLatin1String(", "));
}

// "Strictly beyond in the walking direction" for one column: a column is walked
// upwards when going forward over an ascending column or backward over a descending one.
QString TSQLiteKeyOrder::Greater(size_t index, const TVariant& value, bool after,
                                 std::vector<TVariant>& params) const
{
    const Part& p = FParts[index];
    const bool upwards = after != p.Descending;
    // NULL is the lowest value: nothing lies below it, everything non-null above it.
    if (value.IsClear())
        return upwards ? p.Sql + QLatin1String(" IS NOT NULL") : QStringLiteral("0");
    params.push_back(value);
    return upwards
               ? p.Sql + QLatin1String(" > ?")
               : QLatin1Char('(') + p.Sql + QLatin1String(" < ? OR ") + p.Sql + QLatin1String(" IS NULL)");
}

QString TSQLiteKeyOrder::Tail(const std::vector<TVariant>& key, size_t from, bool after,
                              std::vector<TVariant>& params) const
{
    if (from == FParts.size()) {
        params.push_back(key.back());
        return RowidBeyond(after);
    }
    const QString greater = Greater(from, key[from], after, params);
    params.push_back(key[from]);
    const QString equal = FParts[from].Sql + QLatin1String(" IS ?");
    const QString rest = Tail(key, from + 1, after, params);
    return QStringLiteral("(%1 OR (%2 AND %3))").arg(greater, equal, rest);
}

QString TSQLiteKeyOrder::RowidBeyond(bool after) const
{
    return FRowid + (after != FRowidDescending ? QLatin1String(" > ?") : QLatin1String(" < ?"));
}

std::vector<TSQLiteKeyOrder::Segment> TSQLiteKeyOrder::Beyond(const std::vector<TVariant>& key,
                                                              bool after) const
{
    if (FParts.empty()) {
        Segment only;
        only.Where = RowidBeyond(after);
        only.Params.push_back(key.back());
        return {only};
    }
    const Part& lead = FParts.front();
    const TVariant& v = key.front();
    const bool upwards = after != lead.Descending;
    Segment same;
    if (v.IsClear()) {
        same.Where = lead.Sql + QLatin1String(" IS NULL AND ") + Tail(key, 1, after, same.Params);
    } else {
        // The redundant bound on the leading column is what lets SQLite seek the index.
        same.Params.push_back(v);
        same.Params.push_back(v);
        same.Params.push_back(v);
        const QString bound = upwards ? QLatin1String(" >= ?") : QLatin1String(" <= ?");
        const QString strict = upwards ? QLatin1String(" > ?") : QLatin1String(" < ?");
        same.Where = QStringLiteral("%1%2 AND (%1%3 OR (%1 = ? AND %4))")
                         .arg(lead.Sql, bound, strict, Tail(key, 1, after, same.Params));
    }
    std::vector<Segment> segments{same};
    // Walking up from NULL reaches the non-null values; walking down from a value reaches the NULLs.
    if (v.IsClear() && upwards)
        segments.push_back({lead.Sql + QLatin1String(" IS NOT NULL"), {}});
    else if (!v.IsClear() && !upwards)
        segments.push_back({lead.Sql + QLatin1String(" IS NULL"), {}});
    return segments;
}

int TSQLiteKeyOrder::CompareStored(const TVariant& a, const TVariant& b, bool noCase)
{
    const int ca = StorageClass(a), cb = StorageClass(b);
    if (ca != cb)
        return Sign(ca - cb);
    switch (ca) {
    case 0:
        return 0;
    case 1:
        if (a.VarType() == varInt64 && b.VarType() == varInt64)
            return Sign(int(a.AsInt64() > b.AsInt64()) - int(a.AsInt64() < b.AsInt64()));
        return Sign(int(a.AsFloat() > b.AsFloat()) - int(a.AsFloat() < b.AsFloat()));
    case 2:
        return CompareBytes(Folded(a.AsString(), noCase), Folded(b.AsString(), noCase));
    default:
        return CompareBytes(a.AsBytes(), b.AsBytes());
    }
}

int TSQLiteKeyOrder::Compare(const std::vector<TVariant>& a, const std::vector<TVariant>& b) const
{
    for (size_t i = 0; i < FParts.size(); ++i) {
        const int c = CompareStored(a.at(i), b.at(i), FParts[i].NoCase);
        if (c != 0)
            return FParts[i].Descending ? -c : c;
    }
    const int c = CompareStored(a.at(FParts.size()), b.at(FParts.size()), false);
    return FRowidDescending ? -c : c;
}

} // namespace orvo
