#pragma once

// A small list of words, shown in a popup list and chosen through a grid container:
// enough to drive the list classes without any of the concrete lists.

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "lists/popup/torvodbgriddropdownlist.h"
#include "lists/popup/torvodbpopuplistex.h"
#include "platform/data/tdatasource.h"
#include "platform/data/tfield.h"
#include "platform/data/tfielddefs.h"
#include "platform/data/torvodbcustomdata.h"

#include <QStringList>

namespace orvo::test {

/// One string field "Item" over a list of words.
class TWordData : public TOrvoDBCustomData
{
public:
    explicit TWordData(const QStringList& words, QObject* owner = nullptr)
        : TOrvoDBCustomData(owner), Words(words)
    {}
    QStringList Words;

protected:
    void DoGetRecordCount(qint64& count) override { count = Words.size(); }
    void InternalGetFieldValue(qint64 index, const TField*, TVariant& value) override
    {
        value = Words.at(index);
    }
    void CreateFieldDefs() override { FieldDefs()->Add(QStringLiteral("Item"), ftString, 40); }
};

/// A searching popup list over its own words, with one column of a given width.
class TWordList : public TOrvoDBPopupListEx
{
public:
    TWordList(QWidget* parent, TCloseRequestEvent closeRequest)
        : TOrvoDBPopupListEx(parent, std::move(closeRequest))
    {
        ListSource()->SetDataSet(&Data);
        SetSearchField(QStringLiteral("Item"));
    }

    /// Replaces the words and shows them in `columnCount` columns `columnWidth` wide each.
    void Load(const QStringList& words, int columnWidth = 120, int columnCount = 1)
    {
        Data.SetActive(false);
        Data.Words = words;
        Data.SetActive(true);
        Columns()->Clear();
        for (int i = 0; i < columnCount; ++i) {
            TOrvoColumn* column = Columns()->Add();
            column->SetFieldName(QStringLiteral("Item"));
            column->SetWidth(columnWidth);
        }
    }
    QString CurrentWord() const
    {
        return Data.Active() && !Data.IsEmpty() ? Data.FieldByName(QStringLiteral("Item"))->AsString()
                                                : QString();
    }

    using TOrvoDBPopupList::ColumnsWidth;
    using TOrvoDBPopupList::FooterHeight;
    using TOrvoDBPopupList::RowPitch;
    using TOrvoDBPopupList::TitleHeight;

    TWordData Data{QStringList()};
};

/// Words offered for a grid column; choosing one writes it into the cell.
inline QStringList& OfferedWords()
{
    static QStringList words{"Alpha", "Beta", "Gamma", "Delta"};
    return words;
}

/// A grid container that opens a TWordList over OfferedWords(), starts on the word the
/// cell holds and writes the chosen word back when accepted.
class TWordContainer : public TOrvoDBGridDropDownList
{
public:
    TWordContainer(QWidget* parent, TOrvoColumn* column) : TOrvoDBGridDropDownList(parent, column)
    {
        SetListClass<TWordList>();
    }
    TWordList* Words() const { return static_cast<TWordList*>(List()); }

protected:
    void SetupList(bool opening) override
    {
        if (opening)
            TakeGridLook(glkDataList);
    }
    void TransferValue(bool opening) override
    {
        if (opening) {
            Words()->Load(OfferedWords());
            if (Column() && Column()->Field())
                Words()->Data.Locate(QStringLiteral("Item"), TVariant(Column()->Field()->AsString()), {});
        } else if (Accept()) {
            ApplyValue(Value());
        }
    }
    void GetListValue(TVariant& value) override { value = TVariant(Words()->CurrentWord()); }
};

} // namespace orvo::test
