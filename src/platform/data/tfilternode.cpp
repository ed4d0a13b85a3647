#include "platform/data/tfilternode.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <optional>

namespace orvo {

namespace {

using TTruth = TFilterNode::TTruth;
using TValueKind = TFilterNode::TValueKind;

constexpr int kIncomparable = 2;
constexpr qint64 kMsecsPerDay = 86400000;
// The height SQLite gives a comparison, IN list or LIKE with a wrapped column.
constexpr int kLeafSqlHeight = 3;
// The same inside "((guard AND bare) OR (NOT (guard) AND wrapped))", guards of two fields included.
constexpr int kGuardedLeafSqlHeight = kLeafSqlHeight + 5;
// The calendar's bounds as day serials: 0001-01-01 and the day after 9999-12-31.
constexpr double kFirstDay = -693593.0;
constexpr double kEndDay = 2958466.0;

TTruth truth(bool value)
{
    return value ? TFilterNode::trTrue : TFilterNode::trFalse;
}

// UTF-16 code-unit order puts U+E000..U+FFFF after the surrogate pairs of the
// supplementary planes; shifting those ranges gives code-point order, which is
// also SQLite's order for UTF-8 text, so that both sides of ToSql agree.
char16_t codePointOrder(char16_t unit)
{
    if (unit < 0xD800)
        return unit;
    return unit >= 0xE000 ? char16_t(unit - 0x800) : char16_t(unit + 0x2000);
}

int compareCodePoints(QStringView a, QStringView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = a[i].unicode();
        const char16_t y = b[i].unicode();
        if (x != y)
            return codePointOrder(x) < codePointOrder(y) ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool isNumber(const TVariant& v)
{
    const TVarType t = v.VarType();
    return t == varInt64 || t == varCurrency || (t == varDouble && !std::isnan(v.AsFloat()));
}

std::optional<bool> booleanOf(const TVariant& v)
{
    if (v.VarType() == varBoolean || isNumber(v))
        return v.AsBoolean();
    return std::nullopt;
}

template <typename T> int threeWay(const T& a, const T& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

// An integer against a double by their exact values, as SQLite compares them:
// converting the integer would make 2^53 + 1 equal 2^53.
int compareIntegerToDouble(qint64 i, double d)
{
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (d < -kTwoTo63)
        return 1;
    if (d >= kTwoTo63)
        return -1;
    const auto whole = qint64(d);
    if (i != whole)
        return i < whole ? -1 : 1;
    return threeWay(double(i), d);
}

// Currency compares as the double it is stored as, so that SQL compares the same values.
int compareNumbers(const TVariant& a, const TVariant& b)
{
    const bool aInteger = a.VarType() == varInt64;
    const bool bInteger = b.VarType() == varInt64;
    if (aInteger && bInteger)
        return threeWay(a.AsInt64(), b.AsInt64());
    if (aInteger)
        return compareIntegerToDouble(a.AsInt64(), b.AsFloat());
    if (bInteger)
        return -compareIntegerToDouble(b.AsInt64(), a.AsFloat());
    return threeWay(a.AsFloat(), b.AsFloat());
}

bool isOutsideCalendar(const TVariant& v)
{
    if (v.VarType() != varDate)
        return false;
    const double days = v.AsDateTime().Value();
    return !(days >= kFirstDay && days < kEndDay);
}

// -1, 0 or 1; kIncomparable when a value is not of the kind the field promises.
int compareValues(const TVariant& a, const TVariant& b, TValueKind kind)
{
    switch (kind) {
    case TFilterNode::vkText:
        if (a.IsString() && b.IsString())
            return compareCodePoints(a.AsString(), b.AsString());
        break;
    case TFilterNode::vkNumber:
        if (isNumber(a) && isNumber(b))
            return compareNumbers(a, b);
        break;
    case TFilterNode::vkBoolean: {
        const std::optional<bool> x = booleanOf(a);
        const std::optional<bool> y = booleanOf(b);
        if (x && y)
            return threeWay(*x, *y);
        break;
    }
    case TFilterNode::vkDateTime:
        if (a.VarType() == varDate && b.VarType() == varDate) {
            const std::optional<qint64> x = TFilterNode::TimeKey(a.AsDateTime());
            const std::optional<qint64> y = TFilterNode::TimeKey(b.AsDateTime());
            if (x && y)
                return threeWay(*x, *y);
        }
        break;
    case TFilterNode::vkUnsupported:
        break;
    }
    return kIncomparable;
}

bool holds(TFilterNode::TCompareOp op, int order)
{
    switch (op) {
    case TFilterNode::opEqual:
        return order == 0;
    case TFilterNode::opNotEqual:
        return order != 0;
    case TFilterNode::opLess:
        return order < 0;
    case TFilterNode::opGreater:
        return order > 0;
    case TFilterNode::opLessEqual:
        return order <= 0;
    case TFilterNode::opGreaterEqual:
        return order >= 0;
    }
    return false;
}

QString sqlOperator(TFilterNode::TCompareOp op)
{
    static const char* const texts[] = {"=", "<>", "<", ">", "<=", ">="};
    return QString::fromLatin1(texts[op]);
}

// One character: a surrogate pair counts as one, as "_" means one character.
qsizetype characterLength(QStringView s, qsizetype i)
{
    return s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate() ? 2 : 1;
}

// A date-time outside the calendar is no date and a NaN no number: they read as
// Null, as a stored value the field cannot hold does (and as SQL sees a NaN).
TVariant readValue(const TFilterNode::TValueReader& read, int index)
{
    TVariant value = read(index);
    const bool notANumber = value.VarType() == varDouble && std::isnan(value.AsFloat());
    return notANumber || isOutsideCalendar(value) ? TVariant::Null() : value;
}

// A constant as SQL receives it: a date outside the calendar is Null, and a text
// loses what UTF-8 cannot carry (a lone surrogate), so that both paths compare
// the same value.
TVariant boundValue(TVariant constant)
{
    if (isOutsideCalendar(constant))
        return TVariant::Null();
    if (constant.IsString())
        return QString::fromUtf8(constant.AsString().toUtf8());
    return constant;
}

using TFieldSql = TFilterNode::TFieldSql;
using TLeafSql = std::function<QString(const QString& operand)>;

// The field's value in SQL comes already in the form compareValues uses (see
// TFilterExpression::ToSql); an unsupported kind has no such form.
std::optional<TFieldSql> sqlOperand(const TFilterField& field, const TFilterNode::TFieldSqlOf& fieldSql)
{
    if (TFilterNode::ValueKind(field.DataType) == TFilterNode::vkUnsupported)
        return std::nullopt;
    return fieldSql(field.Index);
}

// The condition `leaf` on the field. Rows whose stored value the bare column
// compares alike take the bare column, so that SQLite neither calls back into
// the conversion for them nor, where it holds on every row, forgoes an index;
// the others take the converted value. `leaf` binds its parameters as it
// writes them, so that its calls come in the order of the text.
int appendLeaf(const TFieldSql& field, const TLeafSql& leaf, QString& sql)
{
    if (field.ColumnAlways) {
        sql += leaf(field.Column);
        return kLeafSqlHeight;
    }
    if (field.ColumnWhen.isEmpty()) {
        sql += leaf(field.Value);
        return kLeafSqlHeight;
    }
    const QString bare = leaf(field.Column);
    const QString converted = leaf(field.Value);
    sql += QStringLiteral("((%1 AND %2) OR (NOT (%1) AND %3))").arg(field.ColumnWhen, bare, converted);
    return kGuardedLeafSqlHeight;
}

// Both fields at once: the bare columns where both compare alike.
TFieldSql fieldPair(const TFieldSql& left, const TFieldSql& right, const QString& op)
{
    TFieldSql pair;
    pair.Value = QStringLiteral("%1 %2 %3").arg(left.Value, op, right.Value);
    const bool leftBare = left.ColumnAlways || !left.ColumnWhen.isEmpty();
    const bool rightBare = right.ColumnAlways || !right.ColumnWhen.isEmpty();
    if (!leftBare || !rightBare)
        return pair;
    pair.Column = QStringLiteral("%1 %2 %3").arg(left.Column, op, right.Column);
    pair.ColumnAlways = left.ColumnAlways && right.ColumnAlways;
    QStringList guards;
    for (const TFieldSql* side : {&left, &right})
        if (!side->ColumnAlways)
            guards << side->ColumnWhen;
    pair.ColumnWhen = guards.join(QLatin1String(" AND "));
    return pair;
}

QString identity(const QString& sql)
{
    return sql;
}

TVariant sqlParameter(const TVariant& constant)
{
    switch (constant.VarType()) {
    case varCurrency:
        return constant.AsFloat();
    case varBoolean:
        return qint64(constant.AsBoolean() ? 1 : 0);
    case varDate: {
        const std::optional<qint64> key = TFilterNode::TimeKey(constant.AsDateTime());
        return key ? TVariant(*key) : TVariant::Null();
    }
    default:
        return constant;
    }
}

class TLogicalNode final : public TFilterNode
{
public:
    TLogicalNode(bool isAnd, std::vector<std::unique_ptr<TFilterNode>> operands)
        : FIsAnd(isAnd), FOperands(std::move(operands))
    {}

    TTruth Evaluate(const TValueReader& read) const override
    {
        // AND stops at the first false, OR at the first true; unknown survives otherwise.
        const TTruth decisive = FIsAnd ? trFalse : trTrue;
        TTruth result = FIsAnd ? trTrue : trFalse;
        for (const auto& operand : FOperands) {
            const TTruth t = operand->Evaluate(read);
            if (t == decisive)
                return decisive;
            if (t == trUnknown)
                result = trUnknown;
        }
        return result;
    }

    int AppendSql(const TFieldSqlOf& field, QString& sql, std::vector<TVariant>& params) const override
    {
        std::vector<QString> parts;
        int height = 0;
        for (const auto& operand : FOperands) {
            QString part;
            const int h = operand->AppendSql(field, part, params);
            if (h < 0)
                return -1;
            height = std::max(height, h);
            parts.push_back(part);
        }
        sql += Balanced(parts, 0, parts.size());
        return height + int(std::bit_width(parts.size() - 1));
    }

private:
    // SQLite nests a flat chain of n ANDs n deep and refuses deep trees; a
    // balanced grouping keeps the height at log2(n) for long value lists.
    QString Balanced(const std::vector<QString>& parts, size_t from, size_t to) const
    {
        if (to - from == 1)
            return QStringLiteral("(%1)").arg(parts[from]);
        const size_t middle = from + (to - from) / 2;
        const QString word = FIsAnd ? QStringLiteral(" AND ") : QStringLiteral(" OR ");
        return QLatin1Char('(') + Balanced(parts, from, middle) + word + Balanced(parts, middle, to) +
               QLatin1Char(')');
    }

    bool FIsAnd;
    std::vector<std::unique_ptr<TFilterNode>> FOperands;
};

class TNotNode final : public TFilterNode
{
public:
    explicit TNotNode(std::unique_ptr<TFilterNode> operand) : FOperand(std::move(operand)) {}

    TTruth Evaluate(const TValueReader& read) const override
    {
        const TTruth t = FOperand->Evaluate(read);
        return t == trUnknown ? trUnknown : truth(t == trFalse);
    }

    int AppendSql(const TFieldSqlOf& field, QString& sql, std::vector<TVariant>& params) const override
    {
        QString inner;
        const int height = FOperand->AppendSql(field, inner, params);
        if (height < 0)
            return -1;
        sql += QStringLiteral("NOT (%1)").arg(inner);
        return height + 1;
    }

private:
    std::unique_ptr<TFilterNode> FOperand;
};

class TCompareNode final : public TFilterNode
{
public:
    TCompareNode(TFilterField field, TCompareOp op, TVariant constant)
        : FField(field), FKind(ValueKind(field.DataType)), FOp(op), FConstant(boundValue(std::move(constant)))
    {}

    TTruth Evaluate(const TValueReader& read) const override
    {
        const TVariant value = readValue(read, FField.Index);
        if (value.IsClear())
            return trUnknown;
        const int order = compareValues(value, FConstant, FKind);
        return order == kIncomparable ? trUnknown : truth(holds(FOp, order));
    }

    int AppendSql(const TFieldSqlOf& field, QString& sql, std::vector<TVariant>& params) const override
    {
        const std::optional<TFieldSql> operand = sqlOperand(FField, field);
        if (!operand)
            return -1;
        return appendLeaf(
            *operand,
            [&](const QString& value) {
                params.push_back(sqlParameter(FConstant));
                return QStringLiteral("%1 %2 ?").arg(value, sqlOperator(FOp));
            },
            sql);
    }

private:
    TFilterField FField;
    TValueKind FKind;
    TCompareOp FOp;
    TVariant FConstant;
};

class TFieldCompareNode final : public TFilterNode
{
public:
    TFieldCompareNode(TFilterField left, TCompareOp op, TFilterField right)
        : FLeft(left), FRight(right), FKind(ValueKind(left.DataType)), FOp(op)
    {}

    TTruth Evaluate(const TValueReader& read) const override
    {
        const TVariant a = readValue(read, FLeft.Index);
        if (a.IsClear())
            return trUnknown;
        const TVariant b = readValue(read, FRight.Index);
        if (b.IsClear())
            return trUnknown;
        const int order = compareValues(a, b, FKind);
        return order == kIncomparable ? trUnknown : truth(holds(FOp, order));
    }

    int AppendSql(const TFieldSqlOf& field, QString& sql, std::vector<TVariant>&) const override
    {
        const std::optional<TFieldSql> left = sqlOperand(FLeft, field);
        const std::optional<TFieldSql> right = sqlOperand(FRight, field);
        if (!left || !right)
            return -1;
        // Bare columns of different kinds would meet SQLite's affinity conversions.
        if (ValueKind(FRight.DataType) != FKind)
            return appendLeaf(
                TFieldSql::ValueOnly(
                    QStringLiteral("%1 %2 %3").arg(left->Value, sqlOperator(FOp), right->Value)),
                identity, sql);
        return appendLeaf(fieldPair(*left, *right, sqlOperator(FOp)), identity, sql);
    }

private:
    TFilterField FLeft;
    TFilterField FRight;
    TValueKind FKind;
    TCompareOp FOp;
};

class TIsNullNode final : public TFilterNode
{
public:
    explicit TIsNullNode(TFilterField field) : FField(field) {}

    TTruth Evaluate(const TValueReader& read) const override
    {
        return truth(readValue(read, FField.Index).IsClear());
    }

    int AppendSql(const TFieldSqlOf& field, QString& sql, std::vector<TVariant>&) const override
    {
        TFieldSql operand = field(FField.Index);
        if (operand.NullAsColumn) {
            operand.ColumnAlways = true;
            operand.ColumnWhen.clear();
        }
        return appendLeaf(
            operand, [](const QString& value) { return QStringLiteral("%1 IS NULL").arg(value); }, sql);
    }

private:
    TFilterField FField;
};

class TLikeNode final : public TFilterNode
{
public:
    TLikeNode(TFilterField field, const QString& pattern)
        : FField(field), FFolded(FoldCase(boundValue(pattern).AsString()))
    {}

    TTruth Evaluate(const TValueReader& read) const override
    {
        const TVariant value = readValue(read, FField.Index);
        if (!value.IsString())
            return trUnknown;
        return truth(LikeMatches(FoldCase(value.AsString()), FFolded));
    }

    // SQLite's own LIKE folds only A-Z and stops at a NUL; the connection's
    // function runs LikeMatches itself, so both paths match alike.
    int AppendSql(const TFieldSqlOf& field, QString& sql, std::vector<TVariant>& params) const override
    {
        const std::optional<TFieldSql> operand = sqlOperand(FField, field);
        if (!operand)
            return -1;
        return appendLeaf(
            *operand,
            [&](const QString& value) {
                params.push_back(FFolded);
                return QStringLiteral("%1(%2, ?)").arg(QLatin1String(LikeSqlFunction), value);
            },
            sql);
    }

private:
    TFilterField FField;
    QString FFolded;
};

class TInNode final : public TFilterNode
{
public:
    TInNode(TFilterField field, std::vector<TVariant> constants)
        : FField(field), FKind(ValueKind(field.DataType))
    {
        for (TVariant& constant : constants) {
            constant = boundValue(std::move(constant));
            if (constant.IsClear())
                FHasNull = true;
            else
                FSorted.push_back(std::move(constant));
        }
        std::sort(FSorted.begin(), FSorted.end(),
                  [this](const TVariant& a, const TVariant& b) { return compareValues(a, b, FKind) < 0; });
    }

    TTruth Evaluate(const TValueReader& read) const override
    {
        const TVariant value = readValue(read, FField.Index);
        if (value.IsClear() ||
            (!FSorted.empty() && compareValues(value, FSorted.front(), FKind) == kIncomparable))
            return trUnknown;
        if (Contains(value))
            return trTrue;
        return FHasNull ? trUnknown : trFalse;
    }

    int AppendSql(const TFieldSqlOf& field, QString& sql, std::vector<TVariant>& params) const override
    {
        const std::optional<TFieldSql> operand = sqlOperand(FField, field);
        if (!operand)
            return -1;
        return appendLeaf(
            *operand, [&](const QString& value) { return AppendList(value, params); }, sql);
    }

private:
    QString AppendList(const QString& operand, std::vector<TVariant>& params) const
    {
        QStringList marks;
        for (const TVariant& constant : FSorted) {
            params.push_back(sqlParameter(constant));
            marks << QStringLiteral("?");
        }
        if (FHasNull) {
            params.push_back(TVariant::Null());
            marks << QStringLiteral("?");
        }
        return QStringLiteral("%1 IN (%2)").arg(operand, marks.join(QStringLiteral(", ")));
    }

    bool Contains(const TVariant& value) const
    {
        const auto it = std::lower_bound(FSorted.begin(), FSorted.end(), value,
                                         [this](const TVariant& element, const TVariant& v) {
                                             return compareValues(element, v, FKind) < 0;
                                         });
        return it != FSorted.end() && compareValues(*it, value, FKind) == 0;
    }

    TFilterField FField;
    TValueKind FKind;
    std::vector<TVariant> FSorted;
    bool FHasNull = false;
};

} // namespace

TFilterNode::TValueKind TFilterNode::ValueKind(TFieldType type)
{
    if (IsStringFieldType(type) || type == ftMemo || type == ftFmtMemo || type == ftOraClob)
        return vkText;
    if (IsNumericFieldType(type))
        return vkNumber;
    if (type == ftBoolean)
        return vkBoolean;
    if (IsDateTimeFieldType(type))
        return vkDateTime;
    return vkUnsupported;
}

std::optional<qint64> TFilterNode::TimeKey(TDateTime value)
{
    // A raw TDateTime is not ordered before 1899: -1.25 (29 Dec, 06:00) is
    // greater than -1.5 (29 Dec, 12:00); rounding to the millisecond also
    // absorbs the float noise of different ways of encoding one time.
    const double serial = value.Value();
    if (!(serial >= kFirstDay && serial < kEndDay))
        return std::nullopt;
    const double days = std::trunc(serial);
    const double fraction = std::fabs(serial - days);
    return qint64(days) * kMsecsPerDay + std::llround(fraction * kMsecsPerDay);
}

QString TFilterNode::FoldCase(const QString& text)
{
    return text.toCaseFolded();
}

// Wildcard matching that remembers only the last "%": linear in practice,
// never recursive, and without allocation.
bool TFilterNode::LikeMatches(QStringView text, QStringView pattern)
{
    qsizetype t = 0;
    qsizetype p = 0;
    qsizetype starPattern = -1;
    qsizetype starText = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == u'%') {
            starPattern = ++p;
            starText = t;
        } else if (p < pattern.size() && pattern[p] == u'_') {
            t += characterLength(text, t);
            ++p;
        } else if (p < pattern.size() && pattern[p] == text[t]) {
            ++t;
            ++p;
        } else if (starPattern >= 0) {
            starText += characterLength(text, starText);
            t = starText;
            p = starPattern;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'%')
        ++p;
    return p == pattern.size();
}

TFilterNode::TCompareOp TFilterNode::Mirrored(TCompareOp op)
{
    switch (op) {
    case opLess:
        return opGreater;
    case opGreater:
        return opLess;
    case opLessEqual:
        return opGreaterEqual;
    case opGreaterEqual:
        return opLessEqual;
    default:
        return op;
    }
}

std::unique_ptr<TFilterNode> TFilterNode::MakeAnd(std::vector<std::unique_ptr<TFilterNode>> operands)
{
    return std::make_unique<TLogicalNode>(true, std::move(operands));
}

std::unique_ptr<TFilterNode> TFilterNode::MakeOr(std::vector<std::unique_ptr<TFilterNode>> operands)
{
    return std::make_unique<TLogicalNode>(false, std::move(operands));
}

std::unique_ptr<TFilterNode> TFilterNode::MakeNot(std::unique_ptr<TFilterNode> operand)
{
    return std::make_unique<TNotNode>(std::move(operand));
}

std::unique_ptr<TFilterNode> TFilterNode::MakeCompare(TFilterField field, TCompareOp op, TVariant constant)
{
    return std::make_unique<TCompareNode>(field, op, std::move(constant));
}

std::unique_ptr<TFilterNode> TFilterNode::MakeCompareFields(TFilterField left, TCompareOp op,
                                                            TFilterField right)
{
    return std::make_unique<TFieldCompareNode>(left, op, right);
}

std::unique_ptr<TFilterNode> TFilterNode::MakeIsNull(TFilterField field)
{
    return std::make_unique<TIsNullNode>(field);
}

std::unique_ptr<TFilterNode> TFilterNode::MakeLike(TFilterField field, const QString& pattern)
{
    return std::make_unique<TLikeNode>(field, pattern);
}

std::unique_ptr<TFilterNode> TFilterNode::MakeIn(TFilterField field, std::vector<TVariant> constants)
{
    return std::make_unique<TInNode>(field, std::move(constants));
}

} // namespace orvo
