// Locate and Lookup. Where no filter handler must see each record, the key values are read
// straight from the source (by halves when the source is ordered by the key fields); the
// dataset's own scan then only has to confirm the record found.
#include "platform/data/torvodbcustomdata.h"

#include "platform/core/tscopecleanup.h"
#include "platform/data/tfield.h"
#include "platform/data/tfieldtype.h"
#include "platform/data/tlocatekeys.h"

#include <optional>

namespace orvo {

namespace {

QStringList NameList(const QString& names)
{
    QStringList result;
    for (const QString& part : names.split(QLatin1Char(';'))) {
        const QString name = part.trimmed();
        if (!name.isEmpty())
            result.append(name);
    }
    return result;
}

/// True when `keyFields` are the first of `sortedFields`, in order.
bool LeadsSortOrder(const QStringList& keyFields, const QStringList& sortedFields)
{
    if (keyFields.isEmpty() || keyFields.size() > sortedFields.size())
        return false;
    for (int i = 0; i < keyFields.size(); ++i)
        if (keyFields[i].compare(sortedFields[i], Qt::CaseInsensitive) != 0)
            return false;
    return true;
}

} // namespace

TOrvoDBCustomData::TKeySearch TOrvoDBCustomData::MakeKeySearch(const QString& keyFields,
                                                               const TVariant& keyValues,
                                                               TLocateOptions options) const
{
    TKeySearch search;
    search.Keys = keyValues;
    search.Options = options;
    const QStringList names = NameList(keyFields);
    for (const QString& name : names) {
        const TField* field = FieldByName(name);
        if (field->FieldKind() != fkData)
            return search; // a calculated key is only known in a fetched record
        CheckSourceType(field);
        search.Fields.push_back(field);
    }
    // A handler that hides records must see every candidate: the dataset's scan runs it.
    search.Direct = !(Filtered() && OnFilterRecord());
    search.Sorted = search.Direct && !options.Contains(loCaseInsensitive) &&
                    LeadsSortOrder(names, NameList(SortedKeyFields())) && SortableKeys(search);
    return search;
}

bool TOrvoDBCustomData::SortableKeys(const TKeySearch& search)
{
    const std::size_t count = search.Fields.size();
    if (search.Keys.IsArray() != (count > 1) || (count > 1 && search.Keys.ArrayHighBound() + 1 != int(count)))
        return false;
    for (std::size_t i = 0; i < count; ++i) {
        const TVariant& key = count > 1 ? search.Keys[int(i)] : search.Keys;
        // Text orders otherwise than numbers: a number sought in text (or text in numbers)
        // compares as numbers, which the source's order does not follow.
        if (key.IsClear() || key.IsString() != IsStringFieldType(search.Fields[i]->DataType()))
            return false;
    }
    return true;
}

TVariant TOrvoDBCustomData::SourceKeyValues(const TKeySearch& search, qint64 index)
{
    if (search.Fields.size() == 1)
        return SourceValue(index, search.Fields.front());
    TVariantArray values;
    values.reserve(search.Fields.size());
    for (const TField* field : search.Fields)
        values.push_back(SourceValue(index, field));
    return VarArrayOf(std::move(values));
}

qint64 TOrvoDBCustomData::SearchByHalves(const TKeySearch& search)
{
    const std::size_t count = search.Fields.size();
    const auto compare = [&](qint64 index) {
        for (std::size_t i = 0; i < count; ++i) {
            const TVariant& key = count > 1 ? search.Keys[int(i)] : search.Keys;
            const int order = TVariant::Compare(SourceValue(index, search.Fields[i]), key);
            if (order != 0)
                return order;
        }
        return 0;
    };
    // The first record not ordered before the keys. With a prefix as the last key, the
    // records it begins follow one another from there, as text orders by code unit.
    qint64 low = 0;
    qint64 high = FRecordCount;
    while (low < high) {
        const qint64 middle = low + (high - low) / 2;
        if (compare(middle) < 0)
            low = middle + 1;
        else
            high = middle;
    }
    if (low < FRecordCount && LocateKeysMatch(SourceKeyValues(search, low), search.Keys, search.Options))
        return low;
    return -1;
}

qint64 TOrvoDBCustomData::SearchInOrder(const TKeySearch& search)
{
    // One exact key of the kind its field holds is by far the most common locate, and this
    // loop reads every record: a value of that same kind is compared as it comes, a number
    // as a number, in one variant reused from record to record.
    const TField* field = search.Fields.size() == 1 ? search.Fields.front() : nullptr;
    const TVarType kind = IsStringFieldType(field ? field->DataType() : ftUnknown) ? varString : varInt64;
    const bool quick = field && search.Options.IsEmpty() && search.Keys.VarType() == kind;
    const qint64 keyNumber = quick && kind == varInt64 ? search.Keys.AsInt64() : 0;
    // Whether a value matches the key; nullopt when it is of another kind (or a number no
    // 32-bit field holds), for the general rules to decide.
    const auto quickMatch = [&](const TVariant& value) -> std::optional<bool> {
        if (value.VarType() != kind)
            return std::nullopt;
        if (kind == varString)
            return value == search.Keys;
        const qint64 number = value.AsInt64();
        if (!FitsInteger(number))
            return std::nullopt;
        return number == keyNumber;
    };
    TVariant value;
    for (qint64 index = 0; index < FRecordCount; ++index) {
        if (quick) {
            value = TVariant::Null();
            InternalGetFieldValue(index, field, value);
            if (const std::optional<bool> match = quickMatch(value)) {
                if (*match)
                    return index;
                continue;
            }
        }
        if (LocateKeysMatch(SourceKeyValues(search, index), search.Keys, search.Options))
            return index;
    }
    return -1;
}

bool TOrvoDBCustomData::FindKeyRecord(const QString& keyFields, const TVariant& keyValues,
                                      TLocateOptions options, qint64& index)
{
    const TKeySearch search = MakeKeySearch(keyFields, keyValues, options);
    if (!search.Direct)
        return false;
    CheckSourceCount();
    if (search.Sorted) {
        try {
            index = SearchByHalves(search);
            return true;
        } catch (const EVariantError&) {
            // Keys that do not order against the values: every record is asked in turn.
        }
    }
    index = SearchInOrder(search);
    return true;
}

bool TOrvoDBCustomData::Locate(const QString& keyFields, const TVariant& keyValues, TLocateOptions options)
{
    CheckActive();
    CheckBrowseMode();
    qint64 found = -1;
    if (FindKeyRecord(keyFields, keyValues, options, found) && found < 0) {
        DoBeforeScroll();
        return false;
    }
    FScanStart = found > 0 ? found - 1 : -1;
    const auto reset = Finally([this] { FScanStart = -1; });
    return TDataSet::Locate(keyFields, keyValues, options);
}

TVariant TOrvoDBCustomData::Lookup(const QString& keyFields, const TVariant& keyValues,
                                   const QString& resultFields)
{
    CheckActive();
    for (const QString& name : NameList(resultFields))
        FieldByName(name);
    qint64 found = -1;
    if (FindKeyRecord(keyFields, keyValues, {}, found) && found < 0)
        return TVariant::Null();
    FScanStart = found > 0 ? found - 1 : -1;
    const auto reset = Finally([this] { FScanStart = -1; });
    return TDataSet::Lookup(keyFields, keyValues, resultFields);
}

} // namespace orvo
