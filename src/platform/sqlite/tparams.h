#pragma once

#include "platform/sqlite/tparam.h"

#include <QStringList>

#include <memory>
#include <vector>

struct sqlite3_stmt;

namespace orvo {

class TSQLiteStatement;

/// A query's parameters, in the order their names first appear in the SQL.
/// Names compare without regard to case, as the classic platforms do.
class TParams
{
public:
    int Count() const { return int(FItems.size()); }
    TParam* Items(int index) const { return FItems.at(size_t(index)).get(); }
    TParam* FindParam(const QString& name) const;
    /// Raises EDatabaseError "Parameter 'x' not found".
    TParam* ParamByName(const QString& name) const;

    /// Rebuilds the list from ":name" markers in `sql` (text in quotes, quoted
    /// identifiers and comments is skipped); parameters that stay keep their values.
    void ParseSQL(const QString& sql);
    /// The ":name" markers of `sql`, each once, in order of appearance.
    static QStringList ParamNames(const QString& sql);

    /// Binds every named parameter the statement has; raises for a name not in the list.
    void BindTo(TSQLiteStatement& statement) const;
    /// The values for a statement, by its parameter names (for statements prepared elsewhere).
    std::vector<TVariant> ValuesFor(const TSQLiteStatement& statement) const;

private:
    std::vector<std::unique_ptr<TParam>> FItems;
};

} // namespace orvo
