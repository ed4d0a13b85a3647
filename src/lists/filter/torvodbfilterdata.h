#pragma once

#include "platform/data/torvodbcustomdata.h"

#include <QString>
#include <QStringList>

namespace orvo {

/// The read-only dataset behind a list of filter values: one record per string of a
/// list the caller keeps (referenced, not owned), with the fields "Item" (the text a
/// user reads) and "Key" (the value the filter compares).
///
/// Each string is "[sort key]\x1A item[\x1B key]": an optional sort key ended by
/// character 26 and a blank, which orders the list and is never shown; the item text;
/// and optionally character 27, a blank and the key. A string without a key gives its
/// item text to both fields.
class TOrvoDBFilterData : public TOrvoDBCustomData
{
    Q_OBJECT
    Q_PROPERTY(int ItemSize READ ItemSize WRITE SetItemSize)
    Q_PROPERTY(int KeySize READ KeySize WRITE SetKeySize)

public:
    static constexpr int DefaultSize = 20;
    static constexpr QChar SortKeyEnd = QChar(26);
    static constexpr QChar KeyStart = QChar(27);
    /// The names of the two fields.
    static QString ItemField() { return QStringLiteral("Item"); }
    static QString KeyField() { return QStringLiteral("Key"); }

    explicit TOrvoDBFilterData(QObject* owner = nullptr);

    /// The strings shown; null shows none. The dataset must be closed.
    const QStringList* Items() const { return FItems; }
    void SetItems(const QStringList* items);
    /// The declared sizes of "Item" and "Key"; below 1 means 20. The dataset must be
    /// closed, and the fields are declared again at the next open.
    int ItemSize() const { return FItemSize; }
    void SetItemSize(int value);
    int KeySize() const { return FKeySize; }
    void SetKeySize(int value);

    /// The item and key texts of one string.
    static QString ItemOf(const QString& encoded);
    static QString KeyOf(const QString& encoded);

protected:
    void DoGetRecordCount(qint64& count) override;
    void InternalGetFieldValue(qint64 index, const TField* field, TVariant& value) override;
    void CreateFieldDefs() override;

private:
    void SetSize(int& size, int value);

    const QStringList* FItems = nullptr;
    int FItemSize = DefaultSize;
    int FKeySize = DefaultSize;
};

} // namespace orvo
