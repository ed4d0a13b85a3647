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
// SQLite refuses LIKE patterns longer than this many bytes unless built otherwise.
constexpr qsizetype kMaxSqlLikePattern = 50000;

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

// Milliseconds in time order. A raw TDateTime is not ordered before 1899:
// -1.25 (29 Dec, 06:00) is greater than -1.5 (29 Dec, 12:00); rounding to the
// millisecond also absorbs the float noise of different ways of encoding one time.
qint64 chronologicalKey(TDateTime value)
{
    const double days = std::trunc(value.Value());
    const double fraction = std::fabs(value.Value() - days);
    return qint64(days) * kMsecsPerDay + std::llround(fraction * kMsecsPerDay);
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
            return TVariant::Compare(a, b);
        break;
    case TFilterNode::vkBoolean: {
        const std::optional<bool> x = booleanOf(a);
        const std::optional<bool> y = booleanOf(b);
        if (x && y)
            return threeWay(*x, *y);
        break;
    }
    case TFilterNode::vkDateTime:
        if (a.VarType() == varDate && b.VarType() == varDate)
            return threeWay(chronologicalKey(a.AsDateTime()), chronologicalKey(b.AsDateTime()));
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

char16_t foldAscii(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
}

// One character: a surrogate pair counts as one, as "_" means one character.
qsizetype characterLength(QStringView s, qsizetype i)
{
    return s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate() ? 2 : 1;
}

// Wildcard matching that remembers only the last "%": linear in practice,
// never recursive, and without allocation. `pattern` is already folded.
bool likeMatches(QStringView text, QStringView pattern)
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
        } else if (p < pattern.size() && pattern[p].unicode() == foldAscii(text[t].unicode())) {
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

bool isDateOnly(const TFilterField& field)
{
    return field.DataType == ftDate;
}

// The field as SQLite must see it to compare exactly as Evaluate does: text in
// binary collation whatever the column declares, Booleans as 0/1 whatever
// non-zero was stored, date-times normalised so that midnight written with or
// without its time compares the same. Empty when there is no such form (times
// have no fixed storage form).
QString sqlOperand(const TFilterField& field, const TFilterNode::TColumnSql& column, bool dateAsDateTime)
{
    switch (TFilterNode::ValueKind(field.DataType)) {
    case TFilterNode::vkText:
        return column(field.Index) + QStringLiteral(" COLLATE BINARY");
    case TFilterNode::vkNumber:
        return column(field.Index);
    case TFilterNode::vkBoolean:
        return QStringLiteral("(%1 <> 0)").arg(column(field.Index));
    case TFilterNode::vkDateTime:
        if (field.DataType == ftTime)
            return QString();
        if (isDateOnly(field) && !dateAsDateTime)
            return column(field.Index);
        return QStringLiteral("datetime(%1)").arg(column(field.Index));
    case TFilterNode::vkUnsupported:
        break;
    }
    return QString();
}

// A date compared with a plain date column is written as the column stores it
// ("yyyy-mm-dd") when it is a whole day; with a time it sorts after that day's
// text exactly as it sorts after that day's midnight.
TVariant sqlParameter(const TVariant& constant, bool fullDateTime)
{
    switch (constant.VarType()) {
    case varCurrency:
        return constant.AsFloat();
    case varBoolean:
        return qint64(constant.AsBoolean() ? 1 : 0);
    case varDate: {
        // Date and time are formatted apart: a local QDateTime would move a
        // time that falls into a daylight-saving gap.
        const TDateTime value = constant.AsDateTime();
        const QString date = value.ToQDate().toString(QStringLiteral("yyyy-MM-dd"));
        const QTime time = value.ToQTime();
        if (!fullDateTime && time.msecsSinceStartOfDay() == 0)
            return date;
        return date + time.toString(QStringLiteral(" hh:mm:ss"));
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

    int AppendSql(const TColumnSql& column, QString& sql, std::vector<TVariant>& params) const override
    {
        std::vector<QString> parts;
        int height = 0;
        for (const auto& operand : FOperands) {
            QString part;
            const int h = operand->AppendSql(column, part, params);
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

    int AppendSql(const TColumnSql& column, QString& sql, std::vector<TVariant>& params) const override
    {
        QString inner;
        const int height = FOperand->AppendSql(column, inner, params);
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
        : FField(field), FKind(ValueKind(field.DataType)), FOp(op), FConstant(std::move(constant))
    {}

    TTruth Evaluate(const TValueReader& read) const override
    {
        const TVariant value = read(FField.Index);
        if (value.IsClear())
            return trUnknown;
        const int order = compareValues(value, FConstant, FKind);
        return order == kIncomparable ? trUnknown : truth(holds(FOp, order));
    }

    int AppendSql(const TColumnSql& column, QString& sql, std::vector<TVariant>& params) const override
    {
        const QString operand = sqlOperand(FField, column, false);
        if (operand.isEmpty())
            return -1;
        sql += QStringLiteral("%1 %2 ?").arg(operand, sqlOperator(FOp));
        params.push_back(sqlParameter(FConstant, !isDateOnly(FField)));
        return kLeafSqlHeight;
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
        const TVariant a = read(FLeft.Index);
        if (a.IsClear())
            return trUnknown;
        const TVariant b = read(FRight.Index);
        if (b.IsClear())
            return trUnknown;
        const int order = compareValues(a, b, FKind);
        return order == kIncomparable ? trUnknown : truth(holds(FOp, order));
    }

    int AppendSql(const TColumnSql& column, QString& sql, std::vector<TVariant>&) const override
    {
        const bool asDateTime = !isDateOnly(FLeft) || !isDateOnly(FRight);
        const QString left = sqlOperand(FLeft, column, asDateTime);
        const QString right = sqlOperand(FRight, column, asDateTime);
        if (left.isEmpty() || right.isEmpty())
            return -1;
        sql += QStringLiteral("%1 %2 %3").arg(left, sqlOperator(FOp), right);
        return kLeafSqlHeight;
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

    TTruth Evaluate(const TValueReader& read) const override { return truth(read(FField.Index).IsClear()); }

    int AppendSql(const TColumnSql& column, QString& sql, std::vector<TVariant>&) const override
    {
        sql += QStringLiteral("%1 IS NULL").arg(column(FField.Index));
        return kLeafSqlHeight;
    }

private:
    TFilterField FField;
};

class TLikeNode final : public TFilterNode
{
public:
    TLikeNode(TFilterField field, const QString& pattern) : FField(field), FPattern(pattern)
    {
        FFolded.reserve(pattern.size());
        for (QChar c : pattern)
            FFolded += QChar(foldAscii(c.unicode()));
    }

    TTruth Evaluate(const TValueReader& read) const override
    {
        const TVariant value = read(FField.Index);
        if (!value.IsString())
            return trUnknown;
        return truth(likeMatches(value.AsString(), FFolded));
    }

    int AppendSql(const TColumnSql& column, QString& sql, std::vector<TVariant>& params) const override
    {
        if (FPattern.toUtf8().size() > kMaxSqlLikePattern)
            return -1;
        sql += QStringLiteral("%1 LIKE ?").arg(column(FField.Index));
        params.push_back(FPattern);
        return kLeafSqlHeight;
    }

private:
    TFilterField FField;
    QString FPattern;
    QString FFolded;
};

class TInNode final : public TFilterNode
{
public:
    TInNode(TFilterField field, std::vector<TVariant> constants)
        : FField(field), FKind(ValueKind(field.DataType))
    {
        for (TVariant& constant : constants) {
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
        const TVariant value = read(FField.Index);
        if (value.IsClear() ||
            (!FSorted.empty() && compareValues(value, FSorted.front(), FKind) == kIncomparable))
            return trUnknown;
        if (Contains(value))
            return trTrue;
        return FHasNull ? trUnknown : trFalse;
    }

    int AppendSql(const TColumnSql& column, QString& sql, std::vector<TVariant>& params) const override
    {
        const QString operand = sqlOperand(FField, column, false);
        if (operand.isEmpty())
            return -1;
        QStringList marks;
        for (const TVariant& constant : FSorted) {
            params.push_back(sqlParameter(constant, !isDateOnly(FField)));
            marks << QStringLiteral("?");
        }
        if (FHasNull) {
            params.push_back(TVariant::Null());
            marks << QStringLiteral("?");
        }
        sql += QStringLiteral("%1 IN (%2)").arg(operand, marks.join(QStringLiteral(", ")));
        return kLeafSqlHeight;
    }

private:
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
