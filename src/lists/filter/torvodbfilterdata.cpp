#include "lists/filter/torvodbfilterdata.h"

#include "platform/data/tfield.h"
#include "platform/data/tfielddefs.h"

namespace orvo {

namespace {

// The text after the sort key's end mark, if there is one.
QString WithoutSortKey(const QString& encoded)
{
    const qsizetype end = encoded.indexOf(QString(TOrvoDBFilterData::SortKeyEnd) + u' ');
    return end < 0 ? encoded : encoded.mid(end + 2);
}

qsizetype KeyMark(const QString& text)
{
    return text.indexOf(QString(TOrvoDBFilterData::KeyStart) + u' ');
}

} // namespace

TOrvoDBFilterData::TOrvoDBFilterData(QObject* owner) : TOrvoDBCustomData(owner)
{
    SetReadOnly(true);
}

void TOrvoDBFilterData::SetItems(const QStringList* items)
{
    CheckInactive();
    FItems = items;
}

void TOrvoDBFilterData::SetItemSize(int value)
{
    SetSize(FItemSize, value);
}

void TOrvoDBFilterData::SetKeySize(int value)
{
    SetSize(FKeySize, value);
}

void TOrvoDBFilterData::SetSize(int& size, int value)
{
    CheckInactive();
    size = value < 1 ? DefaultSize : value;
    FieldDefs()->Clear();
}

QString TOrvoDBFilterData::ItemOf(const QString& encoded)
{
    const QString text = WithoutSortKey(encoded);
    const qsizetype mark = KeyMark(text);
    return mark < 0 ? text : text.left(mark);
}

QString TOrvoDBFilterData::KeyOf(const QString& encoded)
{
    const QString text = WithoutSortKey(encoded);
    const qsizetype mark = KeyMark(text);
    return mark < 0 ? text : text.mid(mark + 2);
}

void TOrvoDBFilterData::DoGetRecordCount(qint64& count)
{
    count = FItems ? FItems->size() : 0;
}

void TOrvoDBFilterData::InternalGetFieldValue(qint64 index, const TField* field, TVariant& value)
{
    if (!FItems || index < 0 || index >= FItems->size())
        return;
    const QString& encoded = FItems->at(index);
    value = field->FieldName() == TOrvoDBFilterData::ItemField() ? ItemOf(encoded) : KeyOf(encoded);
}

void TOrvoDBFilterData::CreateFieldDefs()
{
    for (const auto& [name, size] : {std::pair{TOrvoDBFilterData::ItemField(), FItemSize},
                                     std::pair{TOrvoDBFilterData::KeyField(), FKeySize}}) {
        TFieldDef* def = FieldDefs()->Add(name, ftWideString, size);
        def->SetAttributes(def->Attributes() + TFieldAttributes{faReadonly});
    }
}

} // namespace orvo
