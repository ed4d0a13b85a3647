#pragma once

#include "platform/core/exceptions.h"

#include <QString>

#include <vector>

namespace orvo {

/// Splits a filter expression into tokens (names, literals, operators and
/// punctuation), each remembering where it starts so that every error the
/// parser raises can point at the character that is wrong.
class TFilterLexer
{
public:
    enum TTokenKind
    {
        ttName,     ///< a plain or [bracketed] name; plain names may be keywords
        ttString,   ///< a '...' literal, quotes undone
        ttNumber,   ///< an unsigned number as written
        ttOperator, ///< = <> < > <= >=
        ttMinus,    ///< unary minus before a number
        ttLeftParen,
        ttRightParen,
        ttComma,
        ttEnd
    };

    struct TToken
    {
        TTokenKind Kind = ttEnd;
        QString Text;
        int Position = 0; ///< 0-based index of the first character
        bool Bracketed = false;

        /// True for a plain (unbracketed) name equal to `word` ignoring case.
        bool IsKeyword(QLatin1String word) const;
        /// How the token reads in an error message.
        QString Describe() const;
    };

    /// Raises EDatabaseError for an unterminated string or name, a malformed
    /// number or a character the language does not know.
    static std::vector<TToken> Tokenize(const QString& text);

    /// The errors of the whole engine, with the 1-based character position.
    static EDatabaseError SyntaxError(int position, const QString& what);
    static EDatabaseError Error(int position, const QString& what);
};

} // namespace orvo
