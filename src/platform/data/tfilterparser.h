#pragma once

#include "platform/data/tfilterexpression.h"
#include "platform/data/tfilterlexer.h"
#include "platform/data/tfilternode.h"

namespace orvo {

/// Recursive-descent parser from filter tokens to filter nodes. It resolves
/// field names, converts every literal to the type of the field it meets and
/// caps nesting, so that hostile input ends in an error, not a stack overflow.
class TFilterParser
{
public:
    static constexpr int MaxDepth = 256;

    TFilterParser(const QString& text, const TFilterExpression::TFieldResolver& resolver);

    /// The root node, or null for a blank text; raises EDatabaseError.
    std::unique_ptr<TFilterNode> Parse();
    /// The fields met while parsing, by exact name, in order of first use.
    const QStringList& FieldNames() const { return FFieldNames; }

private:
    enum TOperandKind
    {
        okField,
        okString,
        okNumber,
        okBoolean,
        okNull
    };
    struct TOperand
    {
        TOperandKind Kind = okNull;
        QString Text; ///< the field's exact name, the string, or the number as written
        bool Boolean = false;
        int Position = 0;
        TFilterField Field;
    };
    using TNodePtr = std::unique_ptr<TFilterNode>;

    TNodePtr ParseOr();
    TNodePtr ParseAnd();
    TNodePtr ParseNot();
    TNodePtr ParsePrimary();
    TNodePtr ParseComparison();
    TNodePtr ParseLike(const TOperand& field, int position);
    TNodePtr ParseIn(const TOperand& field);
    TNodePtr MakeComparison(TOperand left, const TFilterLexer::TToken& op, TOperand right);
    TOperand ParseOperand();
    TOperand ParseLiteral();
    TOperand ResolveField(const TFilterLexer::TToken& name);
    TVariant Convert(const TOperand& literal, const TOperand& field) const;

    const TFilterLexer::TToken& Peek() const { return FTokens[FNext]; }
    /// Consumes the next token; the end token is never consumed.
    const TFilterLexer::TToken& Take();
    bool TakeIf(TFilterLexer::TTokenKind kind);
    bool TakeKeyword(QLatin1String word);
    void Expect(TFilterLexer::TTokenKind kind, const QString& what);
    void ExpectKeyword(QLatin1String word);
    void RequireField(const TOperand& operand, const QString& construct) const;
    [[noreturn]] void Unexpected(const QString& expected) const { Unexpected(Peek(), expected); }
    [[noreturn]] static void Unexpected(const TFilterLexer::TToken& found, const QString& expected);

    /// Counts one level of nesting for as long as it lives.
    class TDepthGuard
    {
    public:
        TDepthGuard(TFilterParser& parser, int position);
        ~TDepthGuard() { --FParser.FDepth; }
        TDepthGuard(const TDepthGuard&) = delete;
        TDepthGuard& operator=(const TDepthGuard&) = delete;

    private:
        TFilterParser& FParser;
    };

    const TFilterExpression::TFieldResolver& FResolver;
    std::vector<TFilterLexer::TToken> FTokens;
    size_t FNext = 0;
    int FDepth = 0;
    QStringList FFieldNames;
};

} // namespace orvo
