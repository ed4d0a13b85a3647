#include "platform/data/tfilterparser.h"

#include <QRegularExpression>

#include <cmath>

namespace orvo {

namespace {

using TToken = TFilterLexer::TToken;

std::optional<TVariant> parseNumber(const QString& written)
{
    const QString text = written.trimmed();
    bool ok = false;
    const qint64 whole = text.toLongLong(&ok);
    if (ok)
        return TVariant(whole);
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return TVariant(value);
}

// Currency compares exactly when the literal has at most four decimals; a
// finer literal stays a double so that `Price > 1.23455` is not rounded into
// `Price > 1.2346`.
TVariant asCurrencyWhereExact(const TVariant& number)
{
    const double value = number.AsFloat();
    try {
        const TCurrency currency = TCurrency::FromDouble(value);
        if (currency.ToDouble() == value)
            return currency;
    } catch (const EConvertError&) {
    }
    return number;
}

std::optional<bool> parseBoolean(const QString& written)
{
    const QString text = written.trimmed();
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || text == QLatin1String("1"))
        return true;
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 || text == QLatin1String("0"))
        return false;
    return std::nullopt;
}

std::optional<QTime> timeFrom(const QRegularExpressionMatch& match, int first)
{
    if (!match.hasCaptured(first))
        return QTime(0, 0);
    const int seconds = match.hasCaptured(first + 2) ? match.captured(first + 2).toInt() : 0;
    const QTime time(match.captured(first).toInt(), match.captured(first + 1).toInt(), seconds);
    return time.isValid() ? std::optional<QTime>(time) : std::nullopt;
}

// Encodes without a local QDateTime, which would shift a time that falls into a
// daylight-saving gap; days before 1899 keep a positive fraction, as TDateTime does.
TDateTime encode(const QDate& date, const QTime& time)
{
    const double days = TDateTime::FromQDate(date).Value();
    const double fraction = TDateTime::FromQTime(time).Value();
    return TDateTime(days >= 0 ? days + fraction : days - fraction);
}

std::optional<TDateTime> parseTime(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^(\d{1,2}):(\d{2})(?::(\d{2}))?$)"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const std::optional<QTime> time = timeFrom(match, 1);
    return time ? std::optional<TDateTime>(TDateTime::FromQTime(*time)) : std::nullopt;
}

// ISO "yyyy-mm-dd" (what this engine writes), "dd.mm.yyyy" and "mm/dd/yyyy",
// each with an optional " hh:mm[:ss]"; ISO also with "T".
std::optional<TDateTime> parseDateTime(const QString& text)
{
    struct Form
    {
        QRegularExpression Pattern;
        int Year, Month, Day;
    };
    static const QString time = QStringLiteral(R"((?:%1(\d{1,2}):(\d{2})(?::(\d{2}))?)?$)");
    static const Form forms[] = {
        {QRegularExpression(QStringLiteral(R"(^(\d{4})-(\d{1,2})-(\d{1,2}))") +
                            time.arg(QLatin1String("[ T]"))),
         1, 2, 3},
        {QRegularExpression(QStringLiteral(R"(^(\d{1,2})\.(\d{1,2})\.(\d{4}))") + time.arg(QLatin1Char(' '))),
         3, 2, 1},
        {QRegularExpression(QStringLiteral(R"(^(\d{1,2})/(\d{1,2})/(\d{4}))") + time.arg(QLatin1Char(' '))),
         3, 1, 2},
    };
    const QString trimmed = text.trimmed();
    for (const Form& form : forms) {
        const QRegularExpressionMatch match = form.Pattern.match(trimmed);
        if (!match.hasMatch())
            continue;
        const QDate date(match.captured(form.Year).toInt(), match.captured(form.Month).toInt(),
                         match.captured(form.Day).toInt());
        const std::optional<QTime> timeOfDay = timeFrom(match, 4);
        if (!date.isValid() || !timeOfDay)
            return std::nullopt;
        return encode(date, *timeOfDay);
    }
    return std::nullopt;
}

std::optional<TFilterNode::TCompareOp> compareOp(const QString& text)
{
    static const char* const texts[] = {"=", "<>", "<", ">", "<=", ">="};
    for (int op = TFilterNode::opEqual; op <= TFilterNode::opGreaterEqual; ++op)
        if (text == QLatin1String(texts[op]))
            return TFilterNode::TCompareOp(op);
    return std::nullopt;
}

} // namespace

TFilterParser::TDepthGuard::TDepthGuard(TFilterParser& parser, int position) : FParser(parser)
{
    if (++FParser.FDepth > MaxDepth) {
        --FParser.FDepth;
        throw TFilterLexer::SyntaxError(
            position, QStringLiteral("expression nested too deeply (more than %1 levels)").arg(MaxDepth));
    }
}

TFilterParser::TFilterParser(const QString& text, const TFilterExpression::TFieldResolver& resolver)
    : FResolver(resolver), FTokens(TFilterLexer::Tokenize(text))
{}

std::unique_ptr<TFilterNode> TFilterParser::Parse()
{
    if (Peek().Kind == TFilterLexer::ttEnd)
        return nullptr;
    TNodePtr root = ParseOr();
    if (Peek().Kind != TFilterLexer::ttEnd)
        Unexpected(QStringLiteral("AND, OR or the end of the expression"));
    return root;
}

TFilterParser::TNodePtr TFilterParser::ParseOr()
{
    std::vector<TNodePtr> operands;
    operands.push_back(ParseAnd());
    while (TakeKeyword(QLatin1String("OR")))
        operands.push_back(ParseAnd());
    return operands.size() == 1 ? std::move(operands.front()) : TFilterNode::MakeOr(std::move(operands));
}

TFilterParser::TNodePtr TFilterParser::ParseAnd()
{
    std::vector<TNodePtr> operands;
    operands.push_back(ParseNot());
    while (TakeKeyword(QLatin1String("AND")))
        operands.push_back(ParseNot());
    return operands.size() == 1 ? std::move(operands.front()) : TFilterNode::MakeAnd(std::move(operands));
}

TFilterParser::TNodePtr TFilterParser::ParseNot()
{
    if (!Peek().IsKeyword(QLatin1String("NOT")))
        return ParsePrimary();
    const TDepthGuard guard(*this, Take().Position);
    return TFilterNode::MakeNot(ParseNot());
}

TFilterParser::TNodePtr TFilterParser::ParsePrimary()
{
    if (Peek().Kind != TFilterLexer::ttLeftParen)
        return ParseComparison();
    const TDepthGuard guard(*this, Take().Position);
    TNodePtr inner = ParseOr();
    Expect(TFilterLexer::ttRightParen, QStringLiteral("')'"));
    return inner;
}

TFilterParser::TNodePtr TFilterParser::ParseComparison()
{
    TOperand left = ParseOperand();
    const TToken& next = Take();
    if (next.Kind == TFilterLexer::ttOperator)
        return MakeComparison(std::move(left), next, ParseOperand());
    if (next.IsKeyword(QLatin1String("LIKE")))
        return ParseLike(left, next.Position);
    if (next.IsKeyword(QLatin1String("IN")))
        return ParseIn(left);
    if (next.IsKeyword(QLatin1String("NOT"))) {
        const TToken& what = Take();
        if (what.IsKeyword(QLatin1String("LIKE")))
            return TFilterNode::MakeNot(ParseLike(left, what.Position));
        if (what.IsKeyword(QLatin1String("IN")))
            return TFilterNode::MakeNot(ParseIn(left));
        Unexpected(what, QStringLiteral("LIKE or IN after NOT"));
    }
    if (next.IsKeyword(QLatin1String("IS"))) {
        const bool negated = TakeKeyword(QLatin1String("NOT"));
        ExpectKeyword(QLatin1String("NULL"));
        RequireField(left, QStringLiteral("IS NULL"));
        TNodePtr test = TFilterNode::MakeIsNull(left.Field);
        return negated ? TFilterNode::MakeNot(std::move(test)) : std::move(test);
    }
    Unexpected(next, QStringLiteral("a comparison operator, LIKE, IN or IS"));
}

TFilterParser::TNodePtr TFilterParser::ParseLike(const TOperand& field, int position)
{
    RequireField(field, QStringLiteral("LIKE"));
    if (TFilterNode::ValueKind(field.Field.DataType) != TFilterNode::vkText)
        throw TFilterLexer::Error(position, QStringLiteral("LIKE needs a text field, and field '%1' is %2")
                                                .arg(field.Text, FieldTypeName(field.Field.DataType)));
    const TOperand pattern = ParseOperand();
    if (pattern.Kind != okString)
        throw TFilterLexer::SyntaxError(pattern.Position, QStringLiteral("LIKE needs a quoted pattern"));
    return TFilterNode::MakeLike(field.Field, pattern.Text);
}

TFilterParser::TNodePtr TFilterParser::ParseIn(const TOperand& field)
{
    RequireField(field, QStringLiteral("IN"));
    Expect(TFilterLexer::ttLeftParen, QStringLiteral("'(' after IN"));
    std::vector<TVariant> constants;
    do {
        const TOperand literal = ParseLiteral();
        constants.push_back(literal.Kind == okNull ? TVariant::Null() : Convert(literal, field));
    } while (TakeIf(TFilterLexer::ttComma));
    Expect(TFilterLexer::ttRightParen, QStringLiteral("',' or ')'"));
    return TFilterNode::MakeIn(field.Field, std::move(constants));
}

TFilterParser::TNodePtr TFilterParser::MakeComparison(TOperand left, const TToken& opToken, TOperand right)
{
    TFilterNode::TCompareOp op = *compareOp(opToken.Text);
    if (left.Kind != okField && right.Kind != okField)
        throw TFilterLexer::SyntaxError(left.Position, QStringLiteral("a comparison needs a field"));
    if (left.Kind != okField) {
        std::swap(left, right);
        op = TFilterNode::Mirrored(op);
    }
    if (right.Kind == okNull) {
        if (op != TFilterNode::opEqual && op != TFilterNode::opNotEqual)
            throw TFilterLexer::SyntaxError(opToken.Position,
                                            QStringLiteral("NULL can only be compared with = or <>"));
        TNodePtr test = TFilterNode::MakeIsNull(left.Field);
        return op == TFilterNode::opEqual ? std::move(test) : TFilterNode::MakeNot(std::move(test));
    }
    if (right.Kind != okField)
        return TFilterNode::MakeCompare(left.Field, op, Convert(right, left));
    if (TFilterNode::ValueKind(left.Field.DataType) != TFilterNode::ValueKind(right.Field.DataType))
        throw TFilterLexer::Error(opToken.Position,
                                  QStringLiteral("cannot compare field '%1' (%2) with field '%3' (%4)")
                                      .arg(left.Text, FieldTypeName(left.Field.DataType), right.Text,
                                           FieldTypeName(right.Field.DataType)));
    return TFilterNode::MakeCompareFields(left.Field, op, right.Field);
}

TFilterParser::TOperand TFilterParser::ParseOperand()
{
    const TToken& next = Peek();
    if (next.Kind == TFilterLexer::ttName && !next.IsKeyword(QLatin1String("TRUE")) &&
        !next.IsKeyword(QLatin1String("FALSE")) && !next.IsKeyword(QLatin1String("NULL")))
        return ResolveField(Take());
    return ParseLiteral();
}

TFilterParser::TOperand TFilterParser::ParseLiteral()
{
    const TToken& next = Take();
    TOperand literal;
    literal.Position = next.Position;
    literal.Text = next.Text;
    if (next.Kind == TFilterLexer::ttString) {
        literal.Kind = okString;
    } else if (next.Kind == TFilterLexer::ttNumber) {
        literal.Kind = okNumber;
    } else if (next.Kind == TFilterLexer::ttMinus) {
        const TToken& number = Take();
        if (number.Kind != TFilterLexer::ttNumber)
            Unexpected(number, QStringLiteral("a number after '-'"));
        literal.Kind = okNumber;
        literal.Text = QLatin1Char('-') + number.Text;
    } else if (next.IsKeyword(QLatin1String("TRUE")) || next.IsKeyword(QLatin1String("FALSE"))) {
        literal.Kind = okBoolean;
        literal.Boolean = next.IsKeyword(QLatin1String("TRUE"));
    } else if (next.IsKeyword(QLatin1String("NULL"))) {
        literal.Kind = okNull;
    } else {
        Unexpected(next, QStringLiteral("a value"));
    }
    return literal;
}

TFilterParser::TOperand TFilterParser::ResolveField(const TToken& name)
{
    const std::optional<TFilterExpression::TFieldRef> ref = FResolver(name.Text);
    if (!ref)
        throw TFilterLexer::Error(name.Position, QStringLiteral("Field '%1' not found").arg(name.Text));
    if (TFilterNode::ValueKind(ref->DataType) == TFilterNode::vkUnsupported)
        throw TFilterLexer::Error(name.Position,
                                  QStringLiteral("Field '%1' of type %2 cannot be used in a filter")
                                      .arg(ref->FieldName, FieldTypeName(ref->DataType)));
    if (!FFieldNames.contains(ref->FieldName))
        FFieldNames << ref->FieldName;
    TOperand field;
    field.Kind = okField;
    field.Text = ref->FieldName;
    field.Position = name.Position;
    field.Field = TFilterField{ref->Index, ref->DataType};
    return field;
}

TVariant TFilterParser::Convert(const TOperand& literal, const TOperand& field) const
{
    const TFieldType type = field.Field.DataType;
    std::optional<TVariant> value;
    const bool written = literal.Kind == okString || literal.Kind == okNumber;
    switch (TFilterNode::ValueKind(type)) {
    case TFilterNode::vkText:
        if (written)
            value = literal.Text;
        break;
    case TFilterNode::vkNumber:
        if (written)
            value = parseNumber(literal.Text);
        if (value && type == ftCurrency)
            value = asCurrencyWhereExact(*value);
        break;
    case TFilterNode::vkBoolean: {
        const std::optional<bool> b = literal.Kind == okBoolean ? std::optional<bool>(literal.Boolean)
                                      : written                 ? parseBoolean(literal.Text)
                                                                : std::nullopt;
        if (b)
            value = *b;
        break;
    }
    case TFilterNode::vkDateTime:
        if (literal.Kind == okString) {
            if (const auto date = type == ftTime ? parseTime(literal.Text) : parseDateTime(literal.Text))
                value = *date;
        }
        break;
    case TFilterNode::vkUnsupported:
        break;
    }
    if (value)
        return *value;
    const QString shown = literal.Kind == okString ? TFilterExpression::QuotedString(literal.Text)
                          : literal.Kind == okBoolean
                              ? (literal.Boolean ? QStringLiteral("True") : QStringLiteral("False"))
                              : literal.Text;
    throw TFilterLexer::Error(literal.Position, QStringLiteral("%1 is not a valid %2 value for field '%3'")
                                                    .arg(shown, FieldTypeName(type), field.Text));
}

const TToken& TFilterParser::Take()
{
    const TToken& token = FTokens[FNext];
    if (token.Kind != TFilterLexer::ttEnd)
        ++FNext;
    return token;
}

bool TFilterParser::TakeIf(TFilterLexer::TTokenKind kind)
{
    if (Peek().Kind != kind)
        return false;
    ++FNext;
    return true;
}

bool TFilterParser::TakeKeyword(QLatin1String word)
{
    if (!Peek().IsKeyword(word))
        return false;
    ++FNext;
    return true;
}

void TFilterParser::Expect(TFilterLexer::TTokenKind kind, const QString& what)
{
    if (!TakeIf(kind))
        Unexpected(what);
}

void TFilterParser::ExpectKeyword(QLatin1String word)
{
    if (!TakeKeyword(word))
        Unexpected(word);
}

void TFilterParser::RequireField(const TOperand& operand, const QString& construct) const
{
    if (operand.Kind != okField)
        throw TFilterLexer::SyntaxError(operand.Position,
                                        QStringLiteral("%1 needs a field on its left").arg(construct));
}

void TFilterParser::Unexpected(const TToken& found, const QString& expected)
{
    throw TFilterLexer::SyntaxError(
        found.Position, QStringLiteral("expected %1 but found %2").arg(expected, found.Describe()));
}

} // namespace orvo
