#pragma once

#include "platform/data/tdatalink.h"

#include <vector>

namespace orvo {

class TOrvoCustomDBGrid;

/// The grid's link to its dataset: passes every notification of the dataset on to
/// the grid's handlers, and remembers whether the cell editor holds a value that is
/// not yet written to its field.
class TOrvoGridDataLink : public TDataLink
{
public:
    explicit TOrvoGridDataLink(TOrvoCustomDBGrid* grid);

    TOrvoCustomDBGrid* Grid() const { return FGrid; }
    /// The editor changed a value that is not yet written to the field.
    bool Modified() const { return FModified; }
    void SetModified(bool value) { FModified = value; }
    bool InUpdateData() const { return FInUpdateData; }

    /// The field map: for each column of the grid, the index of its field in the
    /// dataset's field list, or -1 for a column whose field is not there.
    void ClearMapping();
    /// Raises EInvalidGridOperation when the map would outgrow what a grid can show.
    void AddMapping(int fieldIndex);
    int MappingCount() const { return int(FFieldMap.size()); }
    /// The mapped field of column `index`; null for a -1 entry or an index out of range.
    TField* MappedField(int index) const;
    const std::vector<int>& FieldMap() const { return FFieldMap; }
    /// True when the map was built from customized columns, so entries may be -1.
    bool SparseMap() const { return FSparseMap; }
    void SetSparseMap(bool value) { FSparseMap = value; }
    /// Whether the columns may follow the dataset's own fields: there is no dataset, or
    /// it made its fields itself and every mapped name was found.
    bool DefaultFieldsTest() const;

protected:
    void ActiveChanged() override;
    void DataSetChanged() override;
    void DataSetScrolled(int distance) override;
    void EditingChanged() override;
    void LayoutChanged() override;
    void RecordChanged(TField* field) override;
    void FocusControl(TField** field) override;
    void UpdateData() override;
    void FieldRemoving(TField* field) override;

private:
    /// A column past the frozen ones shows `field`.
    bool ScrollableColumnShows(const TField* field) const;
    TOrvoCustomDBGrid* FGrid;
    bool FModified = false;
    bool FInUpdateData = false;
    bool FSparseMap = false;
    std::vector<int> FFieldMap;
};

} // namespace orvo
