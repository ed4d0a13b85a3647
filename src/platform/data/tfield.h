#pragma once

#include "platform/core/coreenums.h"
#include "platform/core/tcurrency.h"
#include "platform/core/tdatetime.h"
#include "platform/core/tvariant.h"
// tfieldtype.h must come first: its namespace-level meta-object is ambiguous after the
// using-directive in tdatasetenums.h.
#include "platform/data/tfieldtype.h"

#include "platform/data/tdatasetenums.h"

#include <QByteArray>
#include <QChar>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

Q_MOC_INCLUDE("platform/data/tdataset.h")

namespace orvo {

class TDataSet;
class TField;

/// Fired with the field whose value changed or is about to be stored.
using TFieldNotifyEvent = std::function<void(TField* sender)>;
/// Lets the application supply a field's text; `displayText` tells a display from an edit text.
using TFieldGetTextEvent = std::function<void(TField* sender, QString& text, bool displayText)>;
/// Lets the application parse text typed into a field instead of the field's own parser.
using TFieldSetTextEvent = std::function<void(TField* sender, const QString& text)>;

/// One column of a dataset's current record, typed: it converts values to and
/// from its data type, formats them for display and editing, validates writes
/// and carries the presentation hints (label, width, alignment, visibility)
/// that data-aware controls use. The value itself always lives in the
/// dataset's record buffer; a field reads and writes it through its dataset.
class TField : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString FieldName READ FieldName WRITE SetFieldName)
    Q_PROPERTY(QString DisplayLabel READ DisplayLabel WRITE SetDisplayLabel)
    Q_PROPERTY(int DisplayWidth READ DisplayWidth WRITE SetDisplayWidth)
    Q_PROPERTY(orvo::CoreEnums::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(bool Required READ Required WRITE SetRequired)
    Q_PROPERTY(int Size READ Size WRITE SetSize)
    Q_PROPERTY(int Index READ Index WRITE SetIndex)
    Q_PROPERTY(QString EditMask READ EditMask WRITE SetEditMask)
    Q_PROPERTY(orvo::DataSetEnums::TFieldKind FieldKind READ FieldKind WRITE SetFieldKind)
    Q_PROPERTY(QString KeyFields READ KeyFields WRITE SetKeyFields)
    Q_PROPERTY(TDataSet* LookupDataSet READ LookupDataSet WRITE SetLookupDataSet)
    Q_PROPERTY(QString LookupKeyFields READ LookupKeyFields WRITE SetLookupKeyFields)
    Q_PROPERTY(QString LookupResultField READ LookupResultField WRITE SetLookupResultField)
    Q_PROPERTY(bool LookupCache READ LookupCache WRITE SetLookupCache)
    Q_PROPERTY(orvo::TFieldType DataType READ DataType STORED false)
    Q_PROPERTY(int FieldNo READ FieldNo STORED false)

public:
    explicit TField(QObject* owner = nullptr);
    ~TField() override;

    // --- Identity and binding -------------------------------------------------------------
    TDataSet* DataSet() const;
    /// Moves the field to another dataset's field list (nullptr detaches it).
    void SetDataSet(TDataSet* dataSet);
    QString FieldName() const { return FFieldName; }
    void SetFieldName(const QString& name);
    /// The name qualified by the parent field's full name, for sub-fields.
    QString FullName() const;
    TFieldType DataType() const { return FDataType; }
    /// For the field factory and field definitions, which pick a class for several types.
    void SetDataType(TFieldType type) { FDataType = type; }
    TFieldKind FieldKind() const { return FFieldKind; }
    void SetFieldKind(TFieldKind kind);
    /// 1-based physical number of a data field; 0 or negative for the other kinds.
    int FieldNo() const { return FFieldNo; }
    void SetFieldNo(int fieldNo) { FFieldNo = fieldNo; }
    int Size() const { return FSize; }
    virtual void SetSize(int size);
    bool Calculated() const { return FFieldKind == fkCalculated; }
    void SetCalculated(bool calculated);
    bool Lookup() const { return FFieldKind == fkLookup; }
    void SetLookup(bool lookup);
    /// Position in the dataset's field list; -1 without a dataset.
    int Index() const;
    void SetIndex(int index);
    TField* ParentField() const { return FParentField; }
    void SetParentField(TField* parent) { FParentField = parent; }
    /// Called by the dataset when it opens (true) and closes (false).
    virtual void Bind(bool binding);
    /// True for fields whose value is a large object (blob, memo, graphic).
    virtual bool IsBlob() const { return false; }

    // --- Presentation ---------------------------------------------------------------------
    QString DisplayLabel() const;
    void SetDisplayLabel(const QString& label);
    /// The label when one is set, else the field name.
    QString DisplayName() const;
    int DisplayWidth() const;
    void SetDisplayWidth(int width);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment alignment);
    bool Visible() const { return FVisible; }
    void SetVisible(bool visible);
    QString EditMask() const { return FEditMask; }
    void SetEditMask(const QString& mask);

    // --- Editing rules --------------------------------------------------------------------
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool readOnly);
    bool Required() const { return FRequired; }
    void SetRequired(bool required) { FRequired = required; }
    /// Whether a value may be written now: data and internal-calc fields when not read-only and
    /// the dataset can be modified; calculated and lookup fields only while the dataset calculates.
    virtual bool CanModify() const;
    /// Whether `ch` may be typed into the field.
    virtual bool IsValidChar(QChar ch) const;
    /// Fires OnValidate for a value about to be stored; while it runs the field reads as `value`.
    virtual void Validate(const TVariant& value);
    /// Fires OnChange; the dataset calls it after a value was stored.
    virtual void Change();
    /// Asks the dataset to move the focus of its controls to this field.
    void FocusControl();

    // --- Lookup definition ----------------------------------------------------------------
    QString KeyFields() const { return FKeyFields; }
    void SetKeyFields(const QString& fields);
    TDataSet* LookupDataSet() const;
    void SetLookupDataSet(TDataSet* dataSet);
    QString LookupKeyFields() const { return FLookupKeyFields; }
    void SetLookupKeyFields(const QString& fields);
    QString LookupResultField() const { return FLookupResultField; }
    void SetLookupResultField(const QString& field);
    bool LookupCache() const { return FLookupCache; }
    void SetLookupCache(bool cache) { FLookupCache = cache; }

    // --- Value ----------------------------------------------------------------------------
    /// The value in the buffer the dataset's state selects; Null when there is none.
    TVariant AsVariant() const;
    /// Converts, checks and stores a value (the canonical kind of the field's type).
    void SetAsVariant(const TVariant& value);
    /// Converts any value to this field's canonical kind; raises EConvertError when it cannot.
    virtual TVariant CanonicalValue(const TVariant& value) const;
    /// The value before the current edit and the value being edited.
    TVariant OldValue() const;
    TVariant NewValue() const;
    void SetNewValue(const TVariant& value);
    bool IsNull() const;
    void Clear();
    /// Copies another field's value (Null when `source` is nullptr).
    void Assign(const TField* source);
    void AssignValue(const TVariant& value);

    /// The value as plain text (numbers unformatted, dates in the default format, blobs as UTF-8).
    virtual QString AsString() const;
    void SetAsString(const QString& value);
    int AsInteger() const;
    void SetAsInteger(int value);
    qint64 AsLargeInt() const;
    void SetAsLargeInt(qint64 value);
    double AsFloat() const;
    void SetAsFloat(double value);
    TCurrency AsCurrency() const;
    void SetAsCurrency(TCurrency value);
    TDateTime AsDateTime() const;
    void SetAsDateTime(TDateTime value);
    bool AsBoolean() const;
    void SetAsBoolean(bool value);
    QByteArray AsBytes() const;
    void SetAsBytes(const QByteArray& value);

    // --- Text -----------------------------------------------------------------------------
    /// The value formatted for display (through OnGetText when assigned).
    QString DisplayText() const;
    /// The value formatted for editing (through OnGetText when assigned).
    QString EditText() const;
    /// Parses edited text into the field (through OnSetText when assigned).
    void SetEditText(const QString& text);
    bool HasGetTextHandler() const { return bool(OnGetText); }
    bool HasSetTextHandler() const { return bool(OnSetText); }

    TFieldNotifyEvent OnChange;
    TFieldNotifyEvent OnValidate;
    TFieldGetTextEvent OnGetText;
    TFieldSetTextEvent OnSetText;

protected:
    TField(TFieldType dataType, QObject* owner);

    /// The field's own formatting of its value, used when OnGetText is not assigned.
    virtual QString GetText(bool displayText) const;
    /// The field's own parsing of text, used when OnSetText is not assigned.
    virtual void SetText(const QString& text);
    /// The width a field shows when DisplayWidth was not set.
    virtual int DefaultWidth() const;
    /// Lets a class adjust a stored value as it is read (a string field cuts it to Size).
    virtual TVariant ValueAsRead(const TVariant& stored) const { return stored; }

    /// Tells the dataset's links that a presentation property changed.
    void PropertyChanged(bool layoutAffected);
    /// Raises EConvertError for a value that cannot be read as `typeName`.
    [[noreturn]] void RaiseAccessError(const QString& typeName) const;
    /// Raises EConvertError for a number outside [min, max].
    [[noreturn]] void RaiseRangeError(double value, double min, double max) const;

private:
    /// Runs a variant conversion, reporting a kind that cannot convert as an access error.
    template <typename Convert>
    auto ConvertValue(const TVariant& value, const char* typeName, Convert convert) const;
    TDataSet* RequireDataSet() const;
    void CheckLookupChange() const;
    TVariant ReadInState(TDataSetState state) const;

    QPointer<TDataSet> FDataSet;
    QPointer<TDataSet> FLookupDataSet;
    QPointer<TField> FParentField;
    QString FFieldName;
    QString FDisplayLabel;
    QString FEditMask;
    QString FKeyFields;
    QString FLookupKeyFields;
    QString FLookupResultField;
    TFieldType FDataType = ftUnknown;
    TFieldKind FFieldKind = fkData;
    TAlignment FAlignment = taLeftJustify;
    int FFieldNo = 0;
    int FSize = 0;
    int FDisplayWidth = 0;
    bool FVisible = true;
    bool FReadOnly = false;
    bool FRequired = false;
    bool FLookupCache = false;
    const TVariant* FValidating = nullptr;
};

} // namespace orvo
