#pragma once

#include "platform/data/tfield.h"

#include <optional>

namespace orvo {

/// Base of the number fields: right-aligned, with a display format and an
/// edit format in the FormatFloat syntax (an empty edit format falls back to
/// the display format, an empty display format to the plain number).
class TNumericField : public TField
{
    Q_OBJECT
    Q_PROPERTY(QString DisplayFormat READ DisplayFormat WRITE SetDisplayFormat)
    Q_PROPERTY(QString EditFormat READ EditFormat WRITE SetEditFormat)

public:
    QString DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const QString& format);
    QString EditFormat() const { return FEditFormat; }
    void SetEditFormat(const QString& format);

    bool IsValidChar(QChar ch) const override;

protected:
    TNumericField(TFieldType dataType, QObject* owner);

    /// The format that applies to a display text or an edit text; empty when none does.
    QString FormatFor(bool displayText) const;
    /// A value given to an integer field as a whole number: nullopt for Null, Unassigned or
    /// blank text; raises the field's conversion error for anything else that is no integer.
    std::optional<qint64> WholeNumberOf(const TVariant& value, const QString& typeName) const;

private:
    QString FDisplayFormat;
    QString FEditFormat;
};

} // namespace orvo
