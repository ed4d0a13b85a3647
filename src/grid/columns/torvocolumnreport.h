#pragma once

#include "grid/columns/columnenums.h"
#include "platform/core/tpersistent.h"

namespace orvo {

class TOrvoColumn;

/// How a grid column appears in a report built from the grid: whether it is printed
/// and which total the report prints under it.
class TOrvoColumnReport : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(orvo::ColumnEnums::TTotalType TotalType READ TotalType WRITE SetTotalType)
    Q_PROPERTY(QString TotalText READ TotalText WRITE SetTotalText)
    Q_PROPERTY(QString TotalMask READ TotalMask WRITE SetTotalMask)
    Q_PROPERTY(bool AutoHeight READ AutoHeight WRITE SetAutoHeight)
    Q_PROPERTY(orvo::TDialogOptions DialogOptions READ DialogOptions WRITE SetDialogOptions)

public:
    explicit TOrvoColumnReport(TOrvoColumn* column);

    TOrvoColumn* Column() const { return FColumn; }

    bool Visible() const { return FVisible; }
    void SetVisible(bool value) { FVisible = value; }
    TTotalType TotalType() const { return FTotalType; }
    void SetTotalType(TTotalType value) { FTotalType = value; }
    QString TotalText() const { return FTotalText; }
    void SetTotalText(const QString& value) { FTotalText = value; }
    QString TotalMask() const { return FTotalMask; }
    void SetTotalMask(const QString& value) { FTotalMask = value; }
    bool AutoHeight() const { return FAutoHeight; }
    void SetAutoHeight(bool value) { FAutoHeight = value; }
    TDialogOptions DialogOptions() const { return FDialogOptions; }
    void SetDialogOptions(TDialogOptions value) { FDialogOptions = value; }

    /// Printed: the column is shown in the grid and the report wants it.
    bool IsPrinted() const;
    virtual void RestoreDefaults();
    void Assign(const TPersistent* source) override;

private:
    TOrvoColumn* FColumn;
    bool FVisible = true;
    TTotalType FTotalType = ttNone;
    QString FTotalText;
    QString FTotalMask;
    bool FAutoHeight = false;
    TDialogOptions FDialogOptions{doShowColumn, doItemEnabled};
};

} // namespace orvo
