#pragma once

#include "platform/data/torvodbcustomdata.h"

#include <QString>

namespace orvo {

/// The one-record, read-only dataset behind the calculator's display row: a single
/// wide-string field "DisplayText" that shows the text the calculator holds.
///
/// The text is kept here rather than in a source list, so the display row changes by
/// setting DisplayText(); an open dataset refreshes at once, so every link sees the
/// new text. The field is declared 40 characters wide, but, as for every dataset of
/// this family, a longer text is read whole.
class TOrvoDBDisplayData : public TOrvoDBCustomData
{
    Q_OBJECT
    Q_PROPERTY(QString DisplayText READ DisplayText WRITE SetDisplayText)

public:
    static constexpr int DisplayTextSize = 40;

    explicit TOrvoDBDisplayData(QObject* owner = nullptr);

    QString DisplayText() const { return FDisplayText; }
    void SetDisplayText(const QString& text);

protected:
    void DoGetRecordCount(qint64& count) override { count = 1; }
    void InternalGetFieldValue(qint64 index, const TField* field, TVariant& value) override;

private:
    QString FDisplayText;
};

} // namespace orvo
