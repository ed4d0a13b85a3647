#pragma once

#include "grid/dbgrid/dbgridenums.h"
#include "grid/totals/torvocolumntotal.h"
#include "platform/core/tvariant.h"

namespace orvo {

/// A total that shows a caption, a value set by code, a field's value, a field of the
/// totals dataset, or an aggregate the grid calculates; the value is formatted into
/// the caption when it arrives.
class TOrvoColumnTotalValue : public TOrvoColumnTotal
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(orvo::ColumnEnums::TCalcApply CalcApply READ CalcApply WRITE SetCalcApply)
    Q_PROPERTY(orvo::ColumnEnums::TCalcValue CalcValue READ CalcValue WRITE SetCalcValue)
    Q_PROPERTY(QString Format READ Format WRITE SetFormat)
    Q_PROPERTY(bool FormatAsFloat READ FormatAsFloat WRITE SetFormatAsFloat)
    Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)
    Q_PROPERTY(orvo::ColumnEnums::TNullValue NullValue READ NullValue WRITE SetNullValue)
    Q_PROPERTY(int TotalRecNo READ TotalRecNo WRITE SetTotalRecNo)
    Q_PROPERTY(orvo::ColumnEnums::TTotalResult TotalResult READ TotalResult WRITE SetTotalResult)
    Q_PROPERTY(orvo::TVariant Value READ Value WRITE SetValue)

public:
    /// The text a Null value shows; empty until the program sets it.
    static QString TotalNullText();
    static void SetTotalNullText(const QString& value);

    explicit TOrvoColumnTotalValue(TOrvoColumn* column, TCollection* collection = nullptr);

    /// Clears Value first: a literal caption replaces the value.
    void SetCaption(const QString& value) override;
    TCalcApply CalcApply() const { return FCalcApply; }
    void SetCalcApply(TCalcApply value);
    TCalcValue CalcValue() const { return FCalcValue; }
    void SetCalcValue(TCalcValue value);
    /// Applied to Value; "|" may separate the format without and with a selection.
    QString Format() const { return FFormat; }
    void SetFormat(const QString& value);
    bool FormatAsFloat() const { return FFormatAsFloat; }
    /// Clears Format outside loading: a format for the old kind rarely fits the new one.
    void SetFormatAsFloat(bool value);
    TNullValue NullValue() const { return FNullValue; }
    void SetNullValue(TNullValue value);
    /// The 1-based buffered record of the totals dataset a trTotalField total reads.
    int TotalRecNo() const { return FTotalRecNo; }
    void SetTotalRecNo(int value);
    TTotalResult TotalResult() const override { return FTotalResult; }
    void SetTotalResult(TTotalResult value);
    TVariant Value() const { return FValue; }
    /// Stores the value and formats it into Caption (no longer an own caption).
    void SetValue(const TVariant& value);
    Q_INVOKABLE bool IsValueStored() const;
    Q_INVOKABLE bool IsCaptionStored() const { return CaptionAssigned(); }

    /// The text for `value` by Format (never raises: a value that does not fit the format
    /// gives its plain text).
    virtual QString FormatValue(const TVariant& value) const;

    /// One pass of the grid's calculation: reset, one record, or final (which assigns
    /// Value); true when the total takes part in it.
    virtual bool Calculate(TCalcPass pass);
    /// Ends the running calculation of this total as failed: it shows empty.
    void FailCalculation();
    /// Whether the total takes part in a pass (in cpCalcRec by its CalcApply and the selection).
    bool TakesPart(TCalcPass pass) const;
    /// The value the dataset's current record gives the total, as a calculation reads it
    /// (currency kept exact); raises when the field the total names is not there.
    TVariant RecordValue() const;

    /// Working values of a running calculation: the records taken and the accumulator.
    qint64 CalcCount = 0;
    TVariant CalcAccumulator;
    /// A step failed: the total stays empty to the end of the pass, rather than showing
    /// what the records after the failure add up to as if it were the whole.
    bool CalcFailed = false;

    QString GetText() const override;
    QString DisplayName() const override;
    void Assign(const TPersistent* source) override;

private:
    void ResetCalculation();
    void CalculateRecord();
    void Accumulate(const TVariant& value);
    void FinishCalculation();
    QString FormatTyped(const QString& format, const TVariant& value) const;
    static QString FormatBetweenPercents(const QString& format, const QString& middle);

    TCalcApply FCalcApply = caBoth;
    TCalcValue FCalcValue = cvSum;
    QString FFormat;
    bool FFormatAsFloat = false;
    TNullValue FNullValue = nvExclude;
    int FTotalRecNo = 1;
    TVariant FValue;
};

} // namespace orvo
