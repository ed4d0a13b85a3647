#include "platform/data/tfilterexpression.h"

#include "platform/data/tfilternode.h"
#include "platform/data/tfilterparser.h"

namespace orvo {

namespace {

// Older SQLite builds refuse more host parameters than this in one statement.
constexpr size_t kMaxSqlParameters = 999;
// SQLite refuses expression trees higher than 1000; this leaves room for the
// conditions the dataset puts around the filter.
constexpr int kMaxSqlHeight = 500;

} // namespace

TFilterExpression::TFilterExpression(const QString& text, std::unique_ptr<TFilterNode> root,
                                     QStringList fieldNames)
    : FText(text), FRoot(std::move(root)), FFieldNames(std::move(fieldNames))
{}

TFilterExpression::~TFilterExpression() = default;

std::unique_ptr<TFilterExpression> TFilterExpression::Parse(const QString& text,
                                                            const TFieldResolver& resolver)
{
    TFilterParser parser(text, resolver);
    std::unique_ptr<TFilterNode> root = parser.Parse();
    return std::unique_ptr<TFilterExpression>(
        new TFilterExpression(text, std::move(root), parser.FieldNames()));
}

bool TFilterExpression::Matches(const TValueReader& read) const
{
    return !FRoot || FRoot->Evaluate(read) == TFilterNode::trTrue;
}

const QString& TFilterExpression::Text() const
{
    return FText;
}

QStringList TFilterExpression::FieldNames() const
{
    return FFieldNames;
}

bool TFilterExpression::ToSql(const std::function<QString(int index)>& columnSql, QString& where,
                              std::vector<TVariant>& params) const
{
    return Translate([&](int index) { return TFilterNode::TFieldSql::ValueOnly(columnSql(index)); }, where,
                     params);
}

bool TFilterExpression::ToSql(const TFilterNode::TFieldSqlOf& fieldSql, QString& where,
                              std::vector<TVariant>& params) const
{
    if (Translate(fieldSql, where, params))
        return true;
    // The bare columns double each condition and its parameters.
    return Translate([&](int index) { return TFilterNode::TFieldSql::ValueOnly(fieldSql(index).Value); },
                     where, params);
}

bool TFilterExpression::Translate(const TFilterNode::TFieldSqlOf& fieldSql, QString& where,
                                  std::vector<TVariant>& params) const
{
    if (!FRoot) {
        where = QStringLiteral("1 = 1");
        params.clear();
        return true;
    }
    QString sql;
    std::vector<TVariant> values;
    const int height = FRoot->AppendSql(fieldSql, sql, values);
    if (height < 0 || height > kMaxSqlHeight || values.size() > kMaxSqlParameters)
        return false;
    where = std::move(sql);
    params = std::move(values);
    return true;
}

QString TFilterExpression::QuotedString(const QString& value)
{
    QString quoted = value;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString TFilterExpression::QuotedName(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char(']'), QLatin1String("]]"));
    return QLatin1Char('[') + quoted + QLatin1Char(']');
}

QString TFilterExpression::DateTimeLiteral(TDateTime value, TFieldType type)
{
    const QTime time = value.ToQTime();
    if (type == ftTime)
        return QuotedString(time.toString(QStringLiteral("hh:mm:ss")));
    QString text = value.ToQDate().toString(QStringLiteral("yyyy-MM-dd"));
    if (type != ftDate && time.msecsSinceStartOfDay() != 0)
        text += time.toString(QStringLiteral(" hh:mm:ss"));
    return QuotedString(text);
}

} // namespace orvo
