#pragma once

#include <QString>
#include <QStringList>

namespace orvo {

// The texts a dataset's order travels in. An order text is a ","-list of items, each a
// field name optionally followed by " ASC" or " DESC"; an index text is a ";"-list of the
// same items, or, with an index format ("asc;desc;nocase" suffixes such as ":A;:D;:N"),
// names carrying a suffix; an ORDER BY clause is part of a statement's lines.

/// Whether two order texts name the same items in the same sequence, ignoring case and
/// the blanks around items ("A, b DESC" and "a,B desc" are the same).
bool SameOrderFields(const QString& first, const QString& second);

/// An order text as index field names: "," becomes ";". With a format, a descending
/// item (its last word is DESC) becomes its name with the descending suffix; other
/// items stay as they are. "Name,City DESC" with ":A;:D;:N" gives "Name;City:D".
QString OrderToIndexFields(const QString& order, const QString& format);

/// Index field names as an order text: ";" becomes ",". With a format, an item ending
/// in the descending suffix becomes its name with " DESC", and one ending in the
/// ascending or case-insensitive suffix its bare name. "NAME:N;CITY:D" with ":A;:D;:N"
/// gives "NAME,CITY DESC".
QString IndexFieldsToOrder(const QString& index, const QString& format);

/// The order of the last line that has "ORDER BY ": the rest of that line, without a
/// terminating ";" and without a LIMIT or OFFSET tail. Empty when no line has it.
QString GetOrderByClause(const QStringList& lines);

/// Writes `order` into the last line that has "ORDER BY " (an empty order removes the
/// clause there), keeping a terminating ";" and a LIMIT or OFFSET tail of that line.
/// Without such a line, a non-empty order is added as a line of its own, before the
/// statement's own LIMIT or OFFSET clause when it has one, else at the end (taking
/// over its terminating ";").
void SetOrderByClause(QStringList& lines, const QString& order);

/// One item of an order text split into its field name and its direction, which only
/// the item's last word gives ("Item Description" is an ascending name).
struct TOrderTextItem
{
    QString Name;
    bool Descending = false;

    static TOrderTextItem Parse(const QString& item);
};

/// An order text for an SQL statement: names that are not plain identifiers are
/// double-quoted, so that a field named "Item Description" sorts as one name.
QString SqlOrderText(const QString& order);
/// The order text an ORDER BY clause stands for: double-quoted names lose their quotes.
QString OrderTextOfSql(const QString& clause);

} // namespace orvo
