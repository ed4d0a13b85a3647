#pragma once

#include "lists/popup/torvodbgriddropdownlist.h"

namespace orvo {

class TOrvoColumn;
class TOrvoDBPopupCalculator;

/// The drop-down calculator of a grid column (ButtonStyle cbsCalculator): it opens on
/// the cell's text (a text that is no number opens on "0" after a beep), in the grid's
/// calculator look, and on accept writes the value it hands back through the column's
/// text setter, so the field's own checks apply as to typed text. A value the field
/// refuses reaches the user as the application's error message, and the cell keeps what
/// it held.
class TOrvoDBGridCalculator : public TOrvoDBGridDropDownList
{
    Q_OBJECT

public:
    TOrvoDBGridCalculator(QWidget* parent, TOrvoColumn* column);

    TOrvoDBPopupCalculator* Calculator() const;

protected:
    void SetupList(bool opening) override;
    void TransferValue(bool opening) override;
    void GetListValue(TVariant& value) override;

private:
    /// The list grows once for the grid's taller rows, however often it drops down.
    bool FHeightGrown = false;
};

} // namespace orvo
