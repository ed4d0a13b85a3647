// Filtering, Locate and Lookup.
#include "platform/data/tdataset.h"

#include "platform/core/texceptionhandler.h"
#include "platform/core/tscopecleanup.h"
#include "platform/data/tfield.h"
#include "platform/data/tfields.h"
#include "platform/data/tfilterexpression.h"
#include "platform/data/tfilternode.h"
#include "platform/data/tlocatekeys.h"

namespace orvo {

// --- Filtering ----------------------------------------------------------------------------------

std::unique_ptr<TFilterExpression> TDataSet::ParseFilter(const QString& text,
                                                         std::vector<QPointer<TField>>& fields) const
{
    fields.clear();
    if (text.trimmed().isEmpty())
        return nullptr;
    // The expression numbers the fields it reads itself, so that moving or adding fields
    // later cannot make it read the wrong one.
    const auto resolve = [this, &fields](const QString& name) -> std::optional<TFilterExpression::TFieldRef> {
        TField* field = FFields->FindField(name);
        if (!field)
            return std::nullopt;
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (fields[i] == field)
                return TFilterExpression::TFieldRef{int(i), field->DataType(), field->FieldName()};
        fields.emplace_back(field);
        return TFilterExpression::TFieldRef{int(fields.size() - 1), field->DataType(), field->FieldName()};
    };
    return TFilterExpression::Parse(text, resolve);
}

TField* TDataSet::FilterField(int index) const
{
    if (index < 0 || std::size_t(index) >= FFilterFields.size())
        return nullptr;
    return FFilterFields[std::size_t(index)].data();
}

bool TDataSet::IsFiltering() const
{
    return FFiltered && (FFilterExpression || FOnFilterRecord);
}

bool TDataSet::FilteringInDataSet() const
{
    return FFiltered && ((FFilterExpression && !FilterHandledBySource()) ||
                         (FOnFilterRecord && !FilterRecordHandledBySource()));
}

bool TDataSet::FilterHandledBySource() const
{
    return false;
}

bool TDataSet::FilterRecordHandledBySource() const
{
    return false;
}

bool TDataSet::RecordAccepted(TRecordBuffer& buffer)
{
    TRecordBuffer* savedBuffer = FFilterBuffer;
    FFilterBuffer = &buffer;
    const TDataSetState saved = SetTempState(dsFilter);
    bool accept = true;
    try {
        if (FFilterExpression && !FilterHandledBySource())
            accept = FFilterExpression->Matches([this](int index) {
                const TField* field = FilterField(index);
                return field ? field->AsVariant() : TVariant::Null();
            });
        if (accept && FOnFilterRecord && !FilterRecordHandledBySource())
            FOnFilterRecord(this, accept);
    } catch (...) {
        TExceptionHandler::HandleCurrent();
        accept = false;
    }
    RestoreState(saved);
    FFilterBuffer = savedBuffer;
    return accept;
}

void TDataSet::SetFilterText(const QString& filter)
{
    if (filter == FFilterText)
        return;
    if (!Active()) {
        // The fields are unknown until open, which parses the text.
        FFilterText = filter;
        return;
    }
    std::vector<QPointer<TField>> fields;
    std::unique_ptr<TFilterExpression> parsed = ParseFilter(filter, fields);
    CheckBrowseMode();
    FFilterText = filter;
    FFilterExpression = std::move(parsed);
    FFilterFields = std::move(fields);
    if (FFiltered)
        FilterChanged();
}

void TDataSet::SetFiltered(bool filtered)
{
    if (filtered == FFiltered)
        return;
    if (Active())
        CheckBrowseMode();
    FFiltered = filtered;
    if (Active())
        FilterChanged();
}

void TDataSet::SetOnFilterRecord(TFilterRecordEvent handler, std::shared_ptr<const TRecordTextTest> described)
{
    if (Active())
        CheckBrowseMode();
    FOnFilterRecord = std::move(handler);
    // A description without the handler it describes would filter what nothing asked for.
    FFilterRecordTest = FOnFilterRecord ? std::move(described) : nullptr;
    ++FFilterRecordSerial;
    if (Active() && FFiltered)
        FilterChanged();
}

void TDataSet::FilterChanged()
{
    First();
}

// --- Locate and Lookup --------------------------------------------------------------------------

namespace {

bool SameKey(const TVariant& value, const TVariant& key, TLocateOptions options, bool partial)
{
    if (options.IsEmpty())
        return TVariant::SameValue(value, key);
    const bool caseInsensitive = options.Contains(loCaseInsensitive);
    if ((!caseInsensitive && !partial) || !value.IsString() || !key.IsString()) {
        if (value.IsClear() || key.IsClear())
            return value.IsClear() && key.IsClear();
        try {
            return TVariant::Compare(value, key) == 0;
        } catch (const Exception&) {
            return false; // a text that is no number never equals a number
        }
    }
    // Case folds by Unicode: a user outside English expects "öl" to find "Öl".
    const QString text = caseInsensitive ? TFilterNode::FoldCase(value.AsString()) : value.AsString();
    const QString keyText = caseInsensitive ? TFilterNode::FoldCase(key.AsString()) : key.AsString();
    return partial ? text.startsWith(keyText) : text == keyText;
}

} // namespace

bool LocateKeysMatch(const TVariant& values, const TVariant& keys, TLocateOptions options)
{
    const bool partialKey = options.Contains(loPartialKey);
    if (values.IsArray() != keys.IsArray())
        return false;
    if (!values.IsArray())
        return SameKey(values, keys, options, partialKey);
    const int high = values.ArrayHighBound();
    if (high != keys.ArrayHighBound())
        return false;
    // Only the last key value may be a prefix.
    for (int i = 0; i <= high; ++i)
        if (!SameKey(values[i], keys[i], options, partialKey && i == high))
            return false;
    return true;
}

TDataSet::TLocateRequest TDataSet::MakeLocateRequest(const QString& keyFields, const TVariant& keyValues,
                                                     TLocateOptions options) const
{
    TLocateRequest request{{}, keyValues, options};
    for (const QString& name : FieldNameList(keyFields))
        request.Fields.push_back(FieldByName(name));
    if (request.Fields.empty())
        throw EDatabaseError(QStringLiteral("No key fields given"));
    return request;
}

bool TDataSet::LocateMatches(const TLocateRequest& request)
{
    TRecordBuffer* savedBuffer = FFilterBuffer;
    FFilterBuffer = &FTempBuffer;
    const TDataSetState saved = SetTempState(dsFilter);
    const auto restore = Finally([&] {
        RestoreState(saved);
        FFilterBuffer = savedBuffer;
    });
    if (request.Fields.size() == 1)
        return LocateKeysMatch(request.Fields.front()->AsVariant(), request.Values, request.Options);
    TVariantArray values;
    values.reserve(request.Fields.size());
    for (const TField* field : request.Fields)
        values.push_back(field->AsVariant());
    return LocateKeysMatch(VarArrayOf(std::move(values)), request.Values, request.Options);
}

bool TDataSet::LocateRecord(const TLocateRequest& request, bool checkBrowseMode)
{
    if (checkBrowseMode)
        CheckBrowseMode();
    else
        CheckActive();
    UpdateCursorPos();
    CursorPosChanged();
    InternalFirst();
    while (FetchRecord(FTempBuffer, gmNext, true) == grOK)
        if (LocateMatches(request))
            return true;
    return false;
}

bool TDataSet::Locate(const QString& keyFields, const TVariant& keyValues, TLocateOptions options)
{
    CheckActive();
    const TLocateRequest request = MakeLocateRequest(keyFields, keyValues, options);
    DoBeforeScroll();
    if (!LocateRecord(request, true))
        return false;
    Resync({rmExact, rmCenter});
    DoAfterScroll();
    return true;
}

TVariant TDataSet::Lookup(const QString& keyFields, const TVariant& keyValues, const QString& resultFields)
{
    CheckActive();
    const TLocateRequest request = MakeLocateRequest(keyFields, keyValues, {});
    for (const QString& name : FieldNameList(resultFields))
        FieldByName(name);
    if (!LocateRecord(request, false))
        return TVariant::Null();
    // The found record is in the scan buffer; read it there as a calculation would.
    TRecordBuffer* savedBuffer = FCalcBuffer;
    FCalcBuffer = &FTempBuffer;
    const TDataSetState saved = SetTempState(dsCalcFields);
    const auto restore = Finally([&] {
        RestoreState(saved);
        FCalcBuffer = savedBuffer;
    });
    return FieldValues(resultFields);
}

} // namespace orvo
