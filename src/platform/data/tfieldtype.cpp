#include "platform/data/tfieldtype.h"

#include <QMetaEnum>

namespace orvo {

QString FieldTypeName(TFieldType type)
{
    const char* key = QMetaEnum::fromType<TFieldType>().valueToKey(type);
    return key ? QString::fromLatin1(key + 2) : QStringLiteral("Unknown");
}

bool IsStringFieldType(TFieldType type)
{
    return type == ftString || type == ftFixedChar || type == ftWideString || type == ftGuid;
}

bool IsNumericFieldType(TFieldType type)
{
    switch (type) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftAutoInc:
    case ftLargeint:
    case ftFMTBcd:
        return true;
    default:
        return false;
    }
}

bool IsDateTimeFieldType(TFieldType type)
{
    return type == ftDate || type == ftTime || type == ftDateTime || type == ftTimeStamp;
}

bool IsBlobFieldType(TFieldType type)
{
    switch (type) {
    case ftBlob:
    case ftMemo:
    case ftGraphic:
    case ftFmtMemo:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
    case ftOraBlob:
    case ftOraClob:
        return true;
    default:
        return false;
    }
}

bool IsDecimalFieldType(TFieldType type)
{
    return type == ftFloat || type == ftCurrency || type == ftBCD || type == ftFMTBcd;
}

bool IsMemoFieldType(TFieldType type)
{
    return type == ftMemo || type == ftFmtMemo;
}

} // namespace orvo
