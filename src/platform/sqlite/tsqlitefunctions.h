#pragma once

#include "platform/data/tfieldtype.h"
#include "platform/data/tfilternode.h"

#include <QString>

struct sqlite3;

namespace orvo {

/// The SQL functions our datasets call, registered on every connection, so
/// that SQL compares values exactly as the dataset reads and compares them:
/// - orvo_field(value, fieldType): the stored value converted as the dataset
///   reads a field of that type, in the form the filter engine's SQL compares
///   (see TFilterExpression::ToSql); NULL where the dataset reads Null;
/// - orvo_like(text, foldedPattern): the filter engine's LIKE, folding by Unicode;
/// - orvo_casefold(text): Unicode case folding, for case-insensitive searches
///   (SQLite's NOCASE folds only A-Z);
/// - orvo_starts_with(text, prefix): 1 when text begins with prefix (SQLite's
///   substr and length stop at a NUL inside a text);
/// - orvo_folded_text(value, fieldType): the text a plain field of that type gives
///   for editing the stored value, case-folded as TFilterNode::FoldCase folds; ''
///   where the field reads Null, since its text is empty then.
class TSQLiteFunctions
{
public:
    static void Register(sqlite3* db);

    /// Whether SQLite compares a table column declared so with a text parameter as the
    /// dataset compares texts: by code point (BINARY), and with an affinity (TEXT or
    /// BLOB) that leaves the parameter text.
    static bool TextComparesBare(const QString& declaredType, const QString& collation);
    /// `column` as orvo_field delivers it for a field of `type`.
    static QString FieldValueSql(const QString& column, TFieldType type);
    /// How the filter engine's SQL reads `column` for a field of `type`: the bare column
    /// on the rows whose storage class SQLite compares as the dataset does (integers
    /// for integer fields, reals for float fields, and text for text fields when
    /// `textComparesBare`: the column's own collation is BINARY and its affinity
    /// converts no text parameter to a number), orvo_field on the others.
    /// `strictColumn`: the column belongs to a STRICT table and is declared of its field's
    /// type, so that it holds nothing else and the bare column serves every row.
    static TFilterNode::TFieldSql FilterFieldSql(const QString& column, TFieldType type,
                                                 bool textComparesBare, bool strictColumn = false);
    /// "`text` begins with the next parameter".
    static QString StartsWithSql(const QString& text);
    /// `column` case-folded as TFilterNode::FoldCase folds.
    static QString CaseFoldedSql(const QString& column);
    /// Whether fields of `type` hold whole numbers read as 64-bit integers.
    static bool IsIntegerType(TFieldType type);
    /// `column` as orvo_folded_text delivers it for a field of `type`.
    static QString FoldedTextSql(const QString& column, TFieldType type);
};

} // namespace orvo
