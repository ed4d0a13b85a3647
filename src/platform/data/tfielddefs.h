#pragma once

#include "platform/data/tdatasetenums.h"
#include "platform/data/tfieldtype.h"

#include <QString>

#include <memory>
#include <vector>

class QObject;

namespace orvo {

class TDataSet;
class TField;
class TFieldDefs;

/// The description of one column of a dataset's source, from which a default
/// field is made and against which a persistent field is bound by name.
class TFieldDef
{
public:
    TFieldDef(TFieldDefs* owner, const QString& name, TFieldType dataType, int size, bool required,
              int fieldNo);

    QString Name() const { return FName; }
    void SetName(const QString& name) { FName = name; }
    TFieldType DataType() const { return FDataType; }
    void SetDataType(TFieldType type) { FDataType = type; }
    int Size() const { return FSize; }
    void SetSize(int size) { FSize = size; }
    int Precision() const { return FPrecision; }
    void SetPrecision(int precision) { FPrecision = precision; }
    bool Required() const { return FAttributes.Contains(faRequired); }
    void SetRequired(bool required);
    /// 1-based position in the source; the field bound to this definition takes it.
    int FieldNo() const { return FFieldNo; }
    TFieldAttributes Attributes() const { return FAttributes; }
    void SetAttributes(TFieldAttributes attributes) { FAttributes = attributes; }
    TFieldDefs* Collection() const { return FOwner; }

    /// Makes the field for this definition, owned by `owner`, in the definitions' dataset.
    TField* CreateField(QObject* owner) const;

private:
    TFieldDefs* FOwner;
    QString FName;
    TFieldType FDataType;
    int FSize;
    int FPrecision = 0;
    int FFieldNo;
    TFieldAttributes FAttributes;
};

/// A dataset's field definitions, in source order. `Updated` tells whether
/// they describe the current source; Update() rebuilds them when not.
class TFieldDefs
{
public:
    explicit TFieldDefs(TDataSet* dataSet) : FDataSet(dataSet) {}
    ~TFieldDefs();

    int Count() const { return int(FItems.size()); }
    TFieldDef* Items(int index) const { return FItems.at(index).get(); }
    TFieldDef* operator[](int index) const { return Items(index); }
    /// Appends a definition; its FieldNo is its 1-based position.
    TFieldDef* Add(const QString& name, TFieldType dataType, int size = 0, bool required = false);
    /// Case-insensitive; nullptr or -1 for a missing name.
    TFieldDef* Find(const QString& name) const;
    int IndexOf(const QString& name) const;
    void Clear();
    bool Updated() const { return FUpdated; }
    void SetUpdated(bool updated) { FUpdated = updated; }
    /// Asks the dataset to rebuild the definitions when they are not up to date.
    void Update();
    TDataSet* DataSet() const { return FDataSet; }

private:
    TDataSet* FDataSet;
    std::vector<std::unique_ptr<TFieldDef>> FItems;
    bool FUpdated = false;
};

} // namespace orvo
