#pragma once

#include "lists/popup/torvodbdropdownlist.h"

#include <QPointer>
#include <QStringList>

#include <functional>

namespace orvo {

class TOrvoColumn;
class TOrvoCustomDBGrid;

/// A drop-down container bound to one grid column: it dresses its list in the grid's
/// look, loads the cell's value into it and writes the chosen value back through the
/// column, so that the column's and the field's own checks apply to it as to typed text.
class TOrvoDBGridDropDownList : public TOrvoDBDropDownList
{
    Q_OBJECT

public:
    /// What a container class makes: the editor passes itself as parent and its column.
    using TFactory = std::function<TOrvoDBGridDropDownList*(QWidget* parent, TOrvoColumn* column)>;

    TOrvoDBGridDropDownList(QWidget* parent, TOrvoColumn* column);

    /// The factory of a container class `T` with that constructor.
    template <typename T> static TFactory FactoryOf()
    {
        return [](QWidget* parent, TOrvoColumn* column) -> TOrvoDBGridDropDownList* {
            return new T(parent, column);
        };
    }

    TOrvoColumn* Column() const;
    /// The column's grid; null without a column.
    TOrvoCustomDBGrid* Grid() const;

    /// Writes a chosen value into the column's field: the key field of a lookup column,
    /// else the column's text through its text setter, where the grid lets the cell be
    /// modified now.
    void ApplyValue(const TVariant& value);
    /// The length of the longest string; 0 for none.
    static int MaxStringLength(const QStringList& strings);

protected:
    /// The three looks a grid list takes from its grid.
    enum TGridListLook
    {
        glkDataList,
        glkCalendar,
        glkCalculator
    };
    /// Makes the column the grid's current one, then copies the grid's look onto the
    /// list as `look` asks; the concrete containers call it from SetupList(true).
    void TakeGridLook(TGridListLook look);
    /// The height a calculator list adds to fit its larger rows.
    int CalculatorExtraHeight() const;

private:
    void MakeColumnCurrent();
    void ApplyLookupValue(const TVariant& value);
    void CopyCommonLook(TGridListLook look);
    void CopyDataListLook();

    QPointer<TOrvoColumn> FColumn;
};

} // namespace orvo
