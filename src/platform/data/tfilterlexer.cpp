#include "platform/data/tfilterlexer.h"

namespace orvo {

namespace {

bool isNameStart(QChar c)
{
    return c.isLetter() || c == u'_';
}

bool isNamePart(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

class Scanner
{
public:
    explicit Scanner(const QString& text) : FText(text) {}

    std::vector<TFilterLexer::TToken> Run()
    {
        std::vector<TFilterLexer::TToken> tokens;
        for (;;) {
            SkipSpaces();
            tokens.push_back(Next());
            if (tokens.back().Kind == TFilterLexer::ttEnd)
                return tokens;
        }
    }

private:
    QChar At(int i) const { return i < FText.size() ? FText.at(i) : QChar(); }

    void SkipSpaces()
    {
        while (FPos < FText.size() && FText.at(FPos).isSpace())
            ++FPos;
    }

    TFilterLexer::TToken Make(TFilterLexer::TTokenKind kind, int start, QString text)
    {
        TFilterLexer::TToken token;
        token.Kind = kind;
        token.Position = start;
        token.Text = std::move(text);
        return token;
    }

    TFilterLexer::TToken Next()
    {
        const int start = int(FPos);
        if (FPos >= FText.size())
            return Make(TFilterLexer::ttEnd, start, QString());
        const QChar c = FText.at(FPos);
        if (isNameStart(c))
            return PlainName();
        if (c == u'[')
            return BracketedName();
        if (c == u'\'')
            return StringLiteral();
        if (isDigit(c) || (c == u'.' && isDigit(At(FPos + 1))))
            return Number();
        return Punctuation(c);
    }

    TFilterLexer::TToken PlainName()
    {
        const int start = int(FPos);
        while (FPos < FText.size() && isNamePart(FText.at(FPos)))
            ++FPos;
        return Make(TFilterLexer::ttName, start, FText.mid(start, FPos - start));
    }

    // "]]" stands for "]" so that any field name can be written.
    TFilterLexer::TToken BracketedName()
    {
        const int start = int(FPos);
        TFilterLexer::TToken token = Make(TFilterLexer::ttName, start, QString());
        token.Bracketed = true;
        token.Text = Delimited(u']', start, QStringLiteral("unterminated field name"));
        if (token.Text.isEmpty())
            throw TFilterLexer::SyntaxError(start, QStringLiteral("empty field name"));
        return token;
    }

    TFilterLexer::TToken StringLiteral()
    {
        const int start = int(FPos);
        return Make(TFilterLexer::ttString, start,
                    Delimited(u'\'', start, QStringLiteral("unterminated string")));
    }

    // Reads up to the closing delimiter, where a doubled delimiter is one literal character.
    QString Delimited(char16_t close, int start, const QString& unterminated)
    {
        QString text;
        ++FPos;
        for (;;) {
            const qsizetype end = FText.indexOf(QChar(close), FPos);
            if (end < 0)
                throw TFilterLexer::SyntaxError(start, unterminated);
            text += QStringView(FText).mid(FPos, end - FPos);
            FPos = end + 1;
            if (At(FPos) != QChar(close))
                return text;
            text += QChar(close);
            ++FPos;
        }
    }

    TFilterLexer::TToken Number()
    {
        const int start = int(FPos);
        SkipDigits();
        if (At(FPos) == u'.') {
            ++FPos;
            if (!isDigit(At(FPos)))
                throw TFilterLexer::SyntaxError(start, QStringLiteral("invalid number"));
            SkipDigits();
        }
        if (At(FPos) == u'e' || At(FPos) == u'E') {
            ++FPos;
            if (At(FPos) == u'+' || At(FPos) == u'-')
                ++FPos;
            if (!isDigit(At(FPos)))
                throw TFilterLexer::SyntaxError(start, QStringLiteral("invalid number"));
            SkipDigits();
        }
        if (isNamePart(At(FPos)) || At(FPos) == u'.')
            throw TFilterLexer::SyntaxError(start, QStringLiteral("invalid number"));
        return Make(TFilterLexer::ttNumber, start, FText.mid(start, FPos - start));
    }

    void SkipDigits()
    {
        while (isDigit(At(FPos)))
            ++FPos;
    }

    TFilterLexer::TToken Punctuation(QChar c)
    {
        const int start = int(FPos);
        ++FPos;
        switch (c.unicode()) {
        case u'(':
            return Make(TFilterLexer::ttLeftParen, start, QStringLiteral("("));
        case u')':
            return Make(TFilterLexer::ttRightParen, start, QStringLiteral(")"));
        case u',':
            return Make(TFilterLexer::ttComma, start, QStringLiteral(","));
        case u'-':
            return Make(TFilterLexer::ttMinus, start, QStringLiteral("-"));
        case u'=':
            return Make(TFilterLexer::ttOperator, start, QStringLiteral("="));
        case u'<':
            if (At(FPos) == u'=' || At(FPos) == u'>')
                ++FPos;
            return Make(TFilterLexer::ttOperator, start, FText.mid(start, FPos - start));
        case u'>':
            if (At(FPos) == u'=')
                ++FPos;
            return Make(TFilterLexer::ttOperator, start, FText.mid(start, FPos - start));
        default:
            throw TFilterLexer::SyntaxError(start, QStringLiteral("unexpected character '%1'").arg(c));
        }
    }

    const QString& FText;
    qsizetype FPos = 0;
};

} // namespace

bool TFilterLexer::TToken::IsKeyword(QLatin1String word) const
{
    return Kind == ttName && !Bracketed && Text.compare(word, Qt::CaseInsensitive) == 0;
}

QString TFilterLexer::TToken::Describe() const
{
    switch (Kind) {
    case ttEnd:
        return QStringLiteral("end of expression");
    case ttString:
        return QStringLiteral("string '%1'").arg(Text);
    case ttName:
        return Bracketed ? QStringLiteral("'[%1]'").arg(Text) : QStringLiteral("'%1'").arg(Text);
    default:
        return QStringLiteral("'%1'").arg(Text);
    }
}

std::vector<TFilterLexer::TToken> TFilterLexer::Tokenize(const QString& text)
{
    return Scanner(text).Run();
}

EDatabaseError TFilterLexer::SyntaxError(int position, const QString& what)
{
    return EDatabaseError(
        QStringLiteral("Filter expression syntax error at position %1: %2").arg(position + 1).arg(what));
}

EDatabaseError TFilterLexer::Error(int position, const QString& what)
{
    return EDatabaseError(
        QStringLiteral("Filter expression error at position %1: %2").arg(position + 1).arg(what));
}

} // namespace orvo
