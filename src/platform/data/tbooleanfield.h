#pragma once

#include "platform/data/tfield.h"

namespace orvo {

/// A true/false field. DisplayValues ("True;False" unless set, e.g. "Yes;No")
/// gives the texts for true and false; parsing accepts either text or any
/// leading part of it, ignoring case, as well as the plain "True"/"False".
class TBooleanField : public TField
{
    Q_OBJECT
    Q_PROPERTY(QString DisplayValues READ DisplayValues WRITE SetDisplayValues)

public:
    explicit TBooleanField(QObject* owner = nullptr);

    QString DisplayValues() const { return FDisplayValues; }
    /// "TrueText;FalseText"; an empty text restores "True;False", a text without ";" leaves false blank.
    void SetDisplayValues(const QString& values);

    TVariant CanonicalValue(const TVariant& value) const override;
    QString AsString() const override;

protected:
    QString GetText(bool displayText) const override;
    int DefaultWidth() const override;

private:
    bool ParseText(const QString& text) const;

    QString FDisplayValues;
    QString FTrueText;
    QString FFalseText;
};

} // namespace orvo
