#include "platform/sqlite/tsqliterowstore.h"

#include <sqlite3.h>

#include <cstring>

namespace orvo {

namespace {

enum Tag : char
{
    TagNull,
    TagInt,
    TagDouble,
    TagText,
    TagBlob
};

template <typename Out> void PutVarint(Out& out, quint64 v)
{
    while (v >= 0x80) {
        out.push_back(char((v & 0x7f) | 0x80));
        v >>= 7;
    }
    out.push_back(char(v));
}

quint64 GetVarint(const char* data, size_t& pos)
{
    quint64 v = 0;
    int shift = 0;
    for (;;) {
        const auto byte = quint8(data[pos++]);
        v |= quint64(byte & 0x7f) << shift;
        if (!(byte & 0x80))
            return v;
        shift += 7;
    }
}

quint64 ZigZag(qint64 v)
{
    return (quint64(v) << 1) ^ quint64(v >> 63);
}

qint64 UnZigZag(quint64 v)
{
    return qint64(v >> 1) ^ -qint64(v & 1);
}

template <typename Out> void PutBytes(Out& out, Tag tag, const char* data, size_t size)
{
    out.push_back(tag);
    PutVarint(out, size);
    out.insert(out.end(), data, data + size);
}

template <typename Out> void PutValue(Out& out, const TVariant& value)
{
    switch (value.VarType()) {
    case varInt64:
    case varBoolean:
        out.push_back(TagInt);
        PutVarint(out, ZigZag(value.AsInt64()));
        break;
    case varDouble:
    case varCurrency: {
        const double d = value.AsFloat();
        out.push_back(TagDouble);
        const char* bytes = reinterpret_cast<const char*>(&d);
        out.insert(out.end(), bytes, bytes + sizeof d);
        break;
    }
    case varString:
    case varDate: {
        const QByteArray utf8 = value.AsString().toUtf8();
        PutBytes(out, TagText, utf8.constData(), size_t(utf8.size()));
        break;
    }
    case varBytes: {
        const QByteArray bytes = value.AsBytes();
        PutBytes(out, TagBlob, bytes.constData(), size_t(bytes.size()));
        break;
    }
    default:
        out.push_back(TagNull);
    }
}

} // namespace

TSQLiteRowStore::Page& TSQLiteRowStore::PageForAppend()
{
    if (FCount % PageRows == 0) {
        FPages.emplace_back();
        FPages.back().Offsets.reserve(PageRows);
        FPages.back().Ends.reserve(PageRows);
    }
    return FPages.back();
}

quint32 TSQLiteRowStore::AppendFromStatement(sqlite3_stmt* stmt, int columnCount)
{
    Page& page = PageForAppend();
    std::vector<char>& out = page.Data;
    page.Offsets.push_back(quint32(out.size()));
    for (int c = 0; c < columnCount; ++c) {
        switch (sqlite3_column_type(stmt, c)) {
        case SQLITE_INTEGER:
            out.push_back(TagInt);
            PutVarint(out, ZigZag(sqlite3_column_int64(stmt, c)));
            break;
        case SQLITE_FLOAT: {
            const double d = sqlite3_column_double(stmt, c);
            out.push_back(TagDouble);
            const char* bytes = reinterpret_cast<const char*>(&d);
            out.insert(out.end(), bytes, bytes + sizeof d);
            break;
        }
        case SQLITE_TEXT: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
            PutBytes(out, TagText, text, size_t(sqlite3_column_bytes(stmt, c)));
            break;
        }
        case SQLITE_BLOB: {
            const auto* blob = static_cast<const char*>(sqlite3_column_blob(stmt, c));
            PutBytes(out, TagBlob, blob, size_t(sqlite3_column_bytes(stmt, c)));
            break;
        }
        default:
            out.push_back(TagNull);
        }
    }
    page.Ends.push_back(quint32(out.size()));
    return FCount++;
}

quint32 TSQLiteRowStore::Append(const std::vector<TVariant>& values)
{
    Page& page = PageForAppend();
    page.Offsets.push_back(quint32(page.Data.size()));
    for (const TVariant& v : values)
        PutValue(page.Data, v);
    page.Ends.push_back(quint32(page.Data.size()));
    return FCount++;
}

void TSQLiteRowStore::Replace(quint32 row, const std::vector<TVariant>& values)
{
    Page& page = FPages[row / PageRows];
    page.Offsets[row % PageRows] = quint32(page.Data.size());
    for (const TVariant& v : values)
        PutValue(page.Data, v);
    page.Ends[row % PageRows] = quint32(page.Data.size());
}

const char* TSQLiteRowStore::RowData(quint32 row, size_t& size) const
{
    const Page& page = FPages[row / PageRows];
    const quint32 start = page.Offsets[row % PageRows];
    size = page.Ends[row % PageRows] - start;
    return page.Data.data() + start;
}

void TSQLiteRowStore::SkipValue(const char* data, size_t& pos)
{
    switch (Tag(data[pos++])) {
    case TagInt:
        GetVarint(data, pos);
        break;
    case TagDouble:
        pos += sizeof(double);
        break;
    case TagText:
    case TagBlob:
        pos += GetVarint(data, pos);
        break;
    default:
        break;
    }
}

TVariant TSQLiteRowStore::Value(quint32 row, int column) const
{
    size_t size = 0;
    const char* data = RowData(row, size);
    size_t pos = 0;
    for (int c = 0; c < column && pos < size; ++c)
        SkipValue(data, pos);
    return DecodeValue(data, size, pos);
}

std::vector<TVariant> TSQLiteRowStore::Values(quint32 row) const
{
    size_t size = 0;
    const char* data = RowData(row, size);
    std::vector<TVariant> values;
    for (size_t pos = 0; pos < size;)
        values.push_back(DecodeValue(data, size, pos));
    return values;
}

void TSQLiteRowStore::Clear()
{
    FPages.clear();
    FCount = 0;
}

size_t TSQLiteRowStore::MemoryUsed() const
{
    size_t bytes = FPages.capacity() * sizeof(Page);
    for (const Page& p : FPages)
        bytes += p.Data.capacity() + (p.Offsets.capacity() + p.Ends.capacity()) * sizeof(quint32);
    return bytes;
}

void TSQLiteRowStore::EncodeValue(std::vector<char>& out, const TVariant& value)
{
    PutValue(out, value);
}

void TSQLiteRowStore::EncodeValue(QByteArray& out, const TVariant& value)
{
    std::vector<char> bytes;
    PutValue(bytes, value);
    out.append(bytes.data(), qsizetype(bytes.size()));
}

TVariant TSQLiteRowStore::DecodeValue(const char* data, size_t size, size_t& pos)
{
    if (pos >= size)
        return TVariant::Null();
    switch (Tag(data[pos++])) {
    case TagInt:
        return TVariant(UnZigZag(GetVarint(data, pos)));
    case TagDouble: {
        double d = 0;
        std::memcpy(&d, data + pos, sizeof d);
        pos += sizeof d;
        return TVariant(d);
    }
    case TagText: {
        const auto n = size_t(GetVarint(data, pos));
        const QString text = QString::fromUtf8(data + pos, qsizetype(n));
        pos += n;
        return TVariant(text);
    }
    case TagBlob: {
        const auto n = size_t(GetVarint(data, pos));
        const QByteArray bytes(data + pos, qsizetype(n));
        pos += n;
        return TVariant(bytes);
    }
    default:
        return TVariant::Null();
    }
}

bool TSQLiteRowStore::TryDecodeAll(const QByteArray& encoded, std::vector<TVariant>& values)
{
    values.clear();
    const auto size = size_t(encoded.size());
    const char* data = encoded.constData();
    size_t pos = 0;
    while (pos < size) {
        const auto tag = Tag(data[pos]);
        size_t end = pos + 1;
        if (tag == TagInt || tag == TagText || tag == TagBlob) {
            quint64 length = 0;
            int shift = 0;
            for (;;) {
                if (end >= size || shift > 63)
                    return false;
                const auto byte = quint8(data[end++]);
                length |= quint64(byte & 0x7f) << shift;
                shift += 7;
                if (!(byte & 0x80))
                    break;
            }
            if (tag != TagInt && length > size - end)
                return false;
        } else if (tag == TagDouble) {
            if (size - end < sizeof(double))
                return false;
        } else if (tag != TagNull)
            return false;
        values.push_back(DecodeValue(data, size, pos));
    }
    return true;
}

} // namespace orvo
