#include "platform/data/tfieldfactory.h"

#include "platform/core/exceptions.h"
#include "platform/data/tautoincfield.h"
#include "platform/data/tbcdfield.h"
#include "platform/data/tblobfield.h"
#include "platform/data/tbooleanfield.h"
#include "platform/data/tcurrencyfield.h"
#include "platform/data/tdatefield.h"
#include "platform/data/tdatetimefield.h"
#include "platform/data/tfloatfield.h"
#include "platform/data/tgraphicfield.h"
#include "platform/data/tintegerfield.h"
#include "platform/data/tlargeintfield.h"
#include "platform/data/tmemofield.h"
#include "platform/data/tsmallintfield.h"
#include "platform/data/tstringfield.h"
#include "platform/data/ttimefield.h"
#include "platform/data/twidestringfield.h"
#include "platform/data/twordfield.h"

namespace orvo {

namespace {

/// The characters of a GUID in its braced text form.
constexpr int GuidSize = 38;

const QMetaObject* FieldClassOf(TFieldType type)
{
    switch (type) {
    case ftString:
    case ftFixedChar:
    case ftGuid:
        return &TStringField::staticMetaObject;
    case ftWideString:
        return &TWideStringField::staticMetaObject;
    case ftSmallint:
        return &TSmallintField::staticMetaObject;
    case ftInteger:
        return &TIntegerField::staticMetaObject;
    case ftWord:
        return &TWordField::staticMetaObject;
    case ftAutoInc:
        return &TAutoIncField::staticMetaObject;
    case ftLargeint:
        return &TLargeintField::staticMetaObject;
    case ftBoolean:
        return &TBooleanField::staticMetaObject;
    case ftFloat:
        return &TFloatField::staticMetaObject;
    case ftCurrency:
        return &TCurrencyField::staticMetaObject;
    case ftBCD:
    case ftFMTBcd:
        return &TBCDField::staticMetaObject;
    case ftDate:
        return &TDateField::staticMetaObject;
    case ftTime:
        return &TTimeField::staticMetaObject;
    case ftDateTime:
    case ftTimeStamp:
        return &TDateTimeField::staticMetaObject;
    case ftBytes:
    case ftVarBytes:
    case ftTypedBinary:
    case ftBlob:
        return &TBlobField::staticMetaObject;
    case ftMemo:
    case ftFmtMemo:
        return &TMemoField::staticMetaObject;
    case ftGraphic:
        return &TGraphicField::staticMetaObject;
    default:
        return nullptr;
    }
}

TField* NewField(TFieldType type, QObject* owner)
{
    switch (type) {
    case ftString:
    case ftFixedChar:
    case ftGuid:
        return new TStringField(owner);
    case ftWideString:
        return new TWideStringField(owner);
    case ftSmallint:
        return new TSmallintField(owner);
    case ftInteger:
        return new TIntegerField(owner);
    case ftWord:
        return new TWordField(owner);
    case ftAutoInc:
        return new TAutoIncField(owner);
    case ftLargeint:
        return new TLargeintField(owner);
    case ftBoolean:
        return new TBooleanField(owner);
    case ftFloat:
        return new TFloatField(owner);
    case ftCurrency:
        return new TCurrencyField(owner);
    case ftBCD:
    case ftFMTBcd:
        return new TBCDField(owner);
    case ftDate:
        return new TDateField(owner);
    case ftTime:
        return new TTimeField(owner);
    case ftDateTime:
    case ftTimeStamp:
        return new TDateTimeField(owner);
    case ftBytes:
    case ftVarBytes:
    case ftTypedBinary:
    case ftBlob:
        return new TBlobField(owner);
    case ftMemo:
    case ftFmtMemo:
        return new TMemoField(owner);
    case ftGraphic:
        return new TGraphicField(owner);
    default:
        return nullptr;
    }
}

/// Settings that tell apart the types sharing a class.
void ApplyTypeSettings(TField* field, TFieldType type)
{
    field->SetDataType(type);
    if (type == ftFixedChar)
        static_cast<TStringField*>(field)->SetFixedChar(true);
    else if (type == ftGuid)
        field->SetSize(GuidSize);
}

[[noreturn]] void RaiseUnsupported(TFieldType type, const QString& fieldName)
{
    if (type == ftUnknown)
        throw EDatabaseError(QStringLiteral("Field '%1' is of an unknown type").arg(fieldName));
    throw EDatabaseError(
        QStringLiteral("Unsupported field type (%1) in field %2").arg(FieldTypeName(type), fieldName));
}

} // namespace

const QMetaObject* TFieldFactory::DefaultFieldClass(TFieldType type, const QString& fieldName)
{
    const QMetaObject* fieldClass = FieldClassOf(type);
    if (!fieldClass)
        RaiseUnsupported(type, fieldName);
    return fieldClass;
}

TField* TFieldFactory::CreateField(TFieldType type, QObject* owner, const QString& fieldName)
{
    TField* field = NewField(type, owner);
    if (!field)
        RaiseUnsupported(type, fieldName);
    ApplyTypeSettings(field, type);
    field->SetFieldName(fieldName);
    return field;
}

const QMetaObject* DefaultFieldClass(TFieldType type, const QString& fieldName)
{
    return TFieldFactory::DefaultFieldClass(type, fieldName);
}

TField* CreateField(TFieldType type, QObject* owner, const QString& fieldName)
{
    return TFieldFactory::CreateField(type, owner, fieldName);
}

} // namespace orvo
