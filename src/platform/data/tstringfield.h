#pragma once

#include "platform/data/tfield.h"

namespace orvo {

/// A text field of at most Size characters (20 unless set; 0 for any length).
/// A longer value that reaches the buffer by another route is cut to Size
/// when read, so controls never show more than the column was declared to
/// hold, unless the dataset reads text whole (TDataSet::ReadsTextWhole): then
/// Size limits only what a person types. The default display width is the
/// Size, at most the dataset's TextWidthLimit.
class TStringField : public TField
{
    Q_OBJECT
    Q_PROPERTY(bool FixedChar READ FixedChar WRITE SetFixedChar)

public:
    explicit TStringField(QObject* owner = nullptr);

    /// A fixed-width (blank-padded) column rather than a varying one.
    bool FixedChar() const { return FFixedChar; }
    void SetFixedChar(bool fixedChar) { FFixedChar = fixedChar; }

    TVariant CanonicalValue(const TVariant& value) const override;

protected:
    TStringField(TFieldType dataType, QObject* owner);

    int DefaultWidth() const override;
    TVariant ValueAsRead(const TVariant& stored) const override;

private:
    bool FFixedChar = false;
};

} // namespace orvo
