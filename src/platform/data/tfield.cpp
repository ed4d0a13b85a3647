#include "platform/data/tfield.h"

#include "platform/core/datetimeparse.h"
#include "platform/core/exceptions.h"
#include "platform/core/strconvert.h"
#include "platform/core/tscopecleanup.h"
#include "platform/data/tdataset.h"
#include "platform/data/tfields.h"

#include <limits>

namespace orvo {

namespace {

QString Quoted(const QString& text)
{
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

bool IsCalculationState(TDataSetState state)
{
    return state == dsCalcFields || state == dsInternalCalc;
}

} // namespace

TField::TField(QObject* owner) : TField(ftUnknown, owner) {}

TField::TField(TFieldType dataType, QObject* owner) : QObject(owner), FDataType(dataType) {}

TField::~TField()
{
    // The dataset's list must not keep a dangling pointer; a failure here cannot be reported.
    if (FDataSet) {
        try {
            FDataSet->RemoveField(this);
        } catch (...) {
        }
    }
}

// --- Identity and binding ---------------------------------------------------------------------

TDataSet* TField::DataSet() const
{
    return FDataSet.data();
}

void TField::SetDataSet(TDataSet* dataSet)
{
    if (dataSet == FDataSet)
        return;
    // Join the new list first so that a refusal (an open dataset) leaves the field where it was.
    TDataSet* previous = FDataSet.data();
    FDataSet = dataSet;
    if (dataSet) {
        const auto stayPut = OnUnwind([this, previous] { FDataSet = previous; });
        dataSet->AddField(this);
    }
    if (previous)
        previous->RemoveField(this);
}

void TField::SetFieldName(const QString& name)
{
    if (name == FFieldName)
        return;
    if (FDataSet) {
        const TField* other = FDataSet->FindField(name);
        if (other && other != this)
            throw EDatabaseError(QStringLiteral("Duplicate field name %1").arg(Quoted(name)));
    }
    FFieldName = name;
    PropertyChanged(true);
}

QString TField::FullName() const
{
    if (const TField* parent = ParentField())
        return parent->FullName() + QLatin1Char('.') + FFieldName;
    return FFieldName;
}

void TField::SetFieldKind(TFieldKind kind)
{
    if (kind == FFieldKind)
        return;
    // The dataset lays out its record buffers by field kind when it opens.
    if (FDataSet && FDataSet->Active())
        throw EDatabaseError(QStringLiteral("Cannot change the kind of field %1 of an open dataset")
                                 .arg(Quoted(DisplayName())));
    FFieldKind = kind;
}

void TField::SetSize(int size)
{
    if (size < 0)
        throw EDatabaseError(
            QStringLiteral("Invalid size %1 for field %2").arg(size).arg(Quoted(DisplayName())));
    FSize = size;
}

void TField::SetCalculated(bool calculated)
{
    if (calculated)
        SetFieldKind(fkCalculated);
    else if (FFieldKind == fkCalculated)
        SetFieldKind(fkData);
}

void TField::SetLookup(bool lookup)
{
    if (lookup)
        SetFieldKind(fkLookup);
    else if (FFieldKind == fkLookup)
        SetFieldKind(fkData);
}

int TField::Index() const
{
    return FDataSet ? FDataSet->Fields()->IndexOf(this) : -1;
}

void TField::SetIndex(int index)
{
    if (FDataSet)
        FDataSet->Fields()->SetFieldIndex(this, index);
}

void TField::Bind(bool binding)
{
    if (!binding || FFieldKind != fkLookup)
        return;
    if (!FLookupDataSet || FKeyFields.isEmpty() || FLookupKeyFields.isEmpty() || FLookupResultField.isEmpty())
        throw EDatabaseError(
            QStringLiteral("Lookup information for field %1 is incomplete").arg(Quoted(DisplayName())));
}

// --- Presentation -----------------------------------------------------------------------------

QString TField::DisplayLabel() const
{
    return DisplayName();
}

void TField::SetDisplayLabel(const QString& label)
{
    // A label equal to the name is no label: it would stop following renames.
    const QString stored = label == FFieldName ? QString() : label;
    if (stored == FDisplayLabel)
        return;
    FDisplayLabel = stored;
    PropertyChanged(true);
}

QString TField::DisplayName() const
{
    return FDisplayLabel.isEmpty() ? FFieldName : FDisplayLabel;
}

int TField::DisplayWidth() const
{
    return FDisplayWidth > 0 ? FDisplayWidth : DefaultWidth();
}

void TField::SetDisplayWidth(int width)
{
    if (width == FDisplayWidth)
        return;
    FDisplayWidth = width;
    PropertyChanged(true);
}

void TField::SetAlignment(TAlignment alignment)
{
    if (alignment == FAlignment)
        return;
    FAlignment = alignment;
    PropertyChanged(false);
}

void TField::SetVisible(bool visible)
{
    if (visible == FVisible)
        return;
    FVisible = visible;
    PropertyChanged(true);
}

void TField::SetEditMask(const QString& mask)
{
    if (mask == FEditMask)
        return;
    FEditMask = mask;
    PropertyChanged(false);
}

int TField::DefaultWidth() const
{
    return 10;
}

void TField::PropertyChanged(bool layoutAffected)
{
    if (FDataSet && FDataSet->Active())
        FDataSet->DataEvent(layoutAffected ? deLayoutChange : deDataSetChange, nullptr);
}

// --- Editing rules ----------------------------------------------------------------------------

void TField::SetReadOnly(bool readOnly)
{
    if (readOnly == FReadOnly)
        return;
    FReadOnly = readOnly;
    PropertyChanged(true);
}

bool TField::CanModify() const
{
    if (!FDataSet)
        return false;
    const bool calculating = IsCalculationState(FDataSet->State());
    switch (FFieldKind) {
    case fkCalculated:
    case fkLookup:
        // Only the dataset's calculation pass (OnCalcFields, the lookup) writes these.
        return calculating;
    case fkInternalCalc:
        return calculating || (!FReadOnly && FDataSet->CanModify());
    default:
        return !calculating && !FReadOnly && FDataSet->CanModify();
    }
}

bool TField::IsValidChar(QChar) const
{
    return true;
}

void TField::Validate(const TVariant& value)
{
    if (!OnValidate)
        return;
    // The handler reads the field to see the value that is about to be stored.
    FValidating = &value;
    const auto validated = Finally([this] { FValidating = nullptr; });
    OnValidate(this);
}

void TField::Change()
{
    if (OnChange)
        OnChange(this);
}

void TField::FocusControl()
{
    if (FDataSet && FDataSet->Active())
        FDataSet->DataEvent(deFocusControl, this);
}

// --- Lookup definition ------------------------------------------------------------------------

void TField::CheckLookupChange() const
{
    if (FFieldKind == fkLookup && FDataSet && FDataSet->Active())
        throw EDatabaseError(
            QStringLiteral("Cannot change the lookup definition of field %1 of an open dataset")
                .arg(Quoted(DisplayName())));
}

void TField::SetKeyFields(const QString& fields)
{
    CheckLookupChange();
    FKeyFields = fields;
}

TDataSet* TField::LookupDataSet() const
{
    return FLookupDataSet.data();
}

void TField::SetLookupDataSet(TDataSet* dataSet)
{
    if (dataSet && dataSet == FDataSet)
        throw EDatabaseError(
            QStringLiteral("Field %1 cannot look up values in its own dataset").arg(Quoted(DisplayName())));
    CheckLookupChange();
    FLookupDataSet = dataSet;
}

void TField::SetLookupKeyFields(const QString& fields)
{
    CheckLookupChange();
    FLookupKeyFields = fields;
}

void TField::SetLookupResultField(const QString& field)
{
    CheckLookupChange();
    FLookupResultField = field;
}

// --- Value ------------------------------------------------------------------------------------

TDataSet* TField::RequireDataSet() const
{
    if (!FDataSet)
        throw EDatabaseError(QStringLiteral("Field %1 has no dataset").arg(Quoted(DisplayName())));
    return FDataSet.data();
}

TVariant TField::AsVariant() const
{
    if (FValidating)
        return *FValidating;
    TVariant value;
    if (!RequireDataSet()->GetFieldData(this, value) || value.IsClear())
        return TVariant::Null();
    return ValueAsRead(value);
}

void TField::SetAsVariant(const TVariant& value)
{
    TDataSet* dataSet = RequireDataSet();
    if (!CanModify())
        throw EDatabaseError(QStringLiteral("Field %1 cannot be modified").arg(Quoted(DisplayName())));
    const TVariant canonical = CanonicalValue(value);
    Validate(canonical);
    dataSet->SetFieldData(this, canonical);
}

TVariant TField::CanonicalValue(const TVariant& value) const
{
    return value.IsClear() ? TVariant::Null() : value;
}

TVariant TField::ReadInState(TDataSetState state) const
{
    TDataSet* dataSet = RequireDataSet();
    const TDataSetState saved = dataSet->SetTempState(state);
    const auto restore = Finally([dataSet, saved] { dataSet->RestoreState(saved); });
    return AsVariant();
}

TVariant TField::OldValue() const
{
    return ReadInState(dsOldValue);
}

TVariant TField::NewValue() const
{
    return ReadInState(dsNewValue);
}

void TField::SetNewValue(const TVariant& value)
{
    TDataSet* dataSet = RequireDataSet();
    const TDataSetState saved = dataSet->SetTempState(dsNewValue);
    const auto restore = Finally([dataSet, saved] { dataSet->RestoreState(saved); });
    SetAsVariant(value);
}

bool TField::IsNull() const
{
    return AsVariant().IsClear();
}

void TField::Clear()
{
    SetAsVariant(TVariant::Null());
}

void TField::Assign(const TField* source)
{
    if (source)
        SetAsVariant(source->AsVariant());
    else
        Clear();
}

void TField::AssignValue(const TVariant& value)
{
    SetAsVariant(value);
}

// --- Typed access -----------------------------------------------------------------------------
// Text values are read with the locale's conventions (as typed); other kinds convert as variants.

template <typename Convert>
auto TField::ConvertValue(const TVariant& value, const char* typeName, Convert convert) const
{
    try {
        return convert(value);
    } catch (const EVariantError&) {
        RaiseAccessError(QLatin1String(typeName));
    }
}

QString TField::AsString() const
{
    return AsVariant().AsString();
}

void TField::SetAsString(const QString& value)
{
    SetAsVariant(TVariant(value));
}

int TField::AsInteger() const
{
    const qint64 value = AsLargeInt();
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        RaiseRangeError(double(value), std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    return int(value);
}

void TField::SetAsInteger(int value)
{
    SetAsVariant(TVariant(qint64(value)));
}

qint64 TField::AsLargeInt() const
{
    const TVariant value = AsVariant();
    if (value.IsClear())
        return 0;
    if (value.IsString())
        return StrToInt64(value.AsString().trimmed());
    return ConvertValue(value, "LargeInt", [](const TVariant& v) { return v.AsInt64(); });
}

void TField::SetAsLargeInt(qint64 value)
{
    SetAsVariant(TVariant(value));
}

double TField::AsFloat() const
{
    const TVariant value = AsVariant();
    if (value.IsClear())
        return 0.0;
    if (value.IsString())
        return StrToFloat(value.AsString());
    return ConvertValue(value, "Float", [](const TVariant& v) { return v.AsFloat(); });
}

void TField::SetAsFloat(double value)
{
    SetAsVariant(TVariant(value));
}

TCurrency TField::AsCurrency() const
{
    const TVariant value = AsVariant();
    if (value.IsClear())
        return TCurrency();
    if (value.IsString())
        return TCurrency::FromDouble(StrToFloat(value.AsString()));
    return ConvertValue(value, "Currency", [](const TVariant& v) { return v.AsCurrency(); });
}

void TField::SetAsCurrency(TCurrency value)
{
    SetAsVariant(TVariant(value));
}

TDateTime TField::AsDateTime() const
{
    const TVariant value = AsVariant();
    if (value.IsClear())
        return TDateTime();
    if (value.IsString())
        return StrToDateTime(value.AsString());
    return ConvertValue(value, "DateTime", [](const TVariant& v) { return v.AsDateTime(); });
}

void TField::SetAsDateTime(TDateTime value)
{
    SetAsVariant(TVariant(value));
}

bool TField::AsBoolean() const
{
    const TVariant value = AsVariant();
    if (value.IsClear())
        return false;
    try {
        return value.AsBoolean();
    } catch (const EVariantError&) {
        if (value.IsString())
            throw EConvertError(
                QStringLiteral("%1 is not a valid boolean value").arg(Quoted(value.AsString())));
        RaiseAccessError(QStringLiteral("Boolean"));
    }
}

void TField::SetAsBoolean(bool value)
{
    SetAsVariant(TVariant(value));
}

QByteArray TField::AsBytes() const
{
    const TVariant value = AsVariant();
    if (value.IsClear())
        return QByteArray();
    return ConvertValue(value, "Bytes", [](const TVariant& v) { return v.AsBytes(); });
}

void TField::SetAsBytes(const QByteArray& value)
{
    SetAsVariant(TVariant(value));
}

// --- Text -------------------------------------------------------------------------------------

QString TField::DisplayText() const
{
    if (!OnGetText)
        return GetText(true);
    QString text;
    OnGetText(const_cast<TField*>(this), text, true);
    return text;
}

QString TField::EditText() const
{
    if (!OnGetText)
        return GetText(false);
    QString text;
    OnGetText(const_cast<TField*>(this), text, false);
    return text;
}

void TField::SetEditText(const QString& text)
{
    if (OnSetText)
        OnSetText(this, text);
    else
        SetText(text);
}

QString TField::GetText(bool) const
{
    return AsString();
}

void TField::SetText(const QString& text)
{
    SetAsString(text);
}

// --- Errors -----------------------------------------------------------------------------------

void TField::RaiseAccessError(const QString& typeName) const
{
    throw EConvertError(
        QStringLiteral("Cannot access field %1 as type %2").arg(Quoted(DisplayName()), typeName));
}

void TField::RaiseRangeError(double value, double min, double max) const
{
    throw EConvertError(QStringLiteral("%1 is not a valid value for field %2. The allowed range is %3 to %4")
                            .arg(QString::number(value, 'g', 15), Quoted(DisplayName()),
                                 QString::number(min, 'g', 15), QString::number(max, 'g', 15)));
}

} // namespace orvo
