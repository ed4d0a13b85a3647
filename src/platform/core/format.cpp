#include "platform/core/format.h"

#include "platform/core/exceptions.h"
#include "platform/core/floatformat.h"
#include "platform/core/tdecimalnumber.h"

namespace orvo {

namespace {

constexpr int kDoubleDigits = 15;
// Fixed layouts keep up to this many integer digits before turning scientific.
constexpr int kFixedDoublePrecision = 18;
constexpr int kCurrencyPrecision = 19;

struct TDirective
{
    bool LeftAlign = false;
    int Width = -1;
    int Precision = -1;
    char16_t Type = 0;
};

class TFormatter
{
public:
    TFormatter(const QString& format, const std::vector<TVariant>& args, const TFormatSettings& settings)
        : FFormat(format), FArgs(args), FSettings(settings)
    {}

    QString Run()
    {
        qsizetype i = 0;
        while (i < FFormat.size()) {
            const QChar c = FFormat.at(i++);
            if (c != u'%') {
                FOut += c;
            } else if (i < FFormat.size() && FFormat.at(i) == u'%') {
                FOut += u'%';
                ++i;
            } else {
                const TDirective d = Parse(i);
                Pad(Convert(d), d);
            }
        }
        return FOut;
    }

private:
    [[noreturn]] void Invalid() const
    {
        throw EConvertError(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(FFormat));
    }

    bool DigitAt(qsizetype i) const { return i < FFormat.size() && FFormat.at(i).isDigit(); }

    int ReadDigits(qsizetype& i) const
    {
        int value = 0;
        while (DigitAt(i)) {
            value = value * 10 + FFormat.at(i++).digitValue();
            if (value > MaxFormatWidth)
                Invalid();
        }
        return value;
    }

    // A width or precision: digits, "*" (from the arguments) or nothing (-1).
    int ReadCount(qsizetype& i, bool& fromArgument)
    {
        fromArgument = false;
        if (i < FFormat.size() && FFormat.at(i) == u'*') {
            ++i;
            fromArgument = true;
            const TVariant& arg = NextArg();
            if (arg.VarType() != varInt64)
                Invalid();
            const qint64 value = arg.AsInt64();
            if (value > MaxFormatWidth || value < -MaxFormatWidth)
                Invalid();
            return int(value);
        }
        return DigitAt(i) ? ReadDigits(i) : -1;
    }

    TDirective Parse(qsizetype& i)
    {
        TDirective d;
        const qsizetype start = i;
        if (DigitAt(i)) {
            const int index = ReadDigits(i);
            if (i < FFormat.size() && FFormat.at(i) == u':') {
                FNext = size_t(index);
                ++i;
            } else {
                i = start;
            }
        }
        if (i < FFormat.size() && FFormat.at(i) == u'-') {
            d.LeftAlign = true;
            ++i;
        }
        bool fromArgument = false;
        d.Width = ReadCount(i, fromArgument);
        if (d.Width < 0 && fromArgument) {
            d.LeftAlign = true; // a negative width from the arguments aligns left
            d.Width = -d.Width;
        }
        if (i < FFormat.size() && FFormat.at(i) == u'.') {
            ++i;
            const int precision = ReadCount(i, fromArgument);
            // "%.f" means no decimals; a negative precision from the arguments means none was given.
            d.Precision = fromArgument ? std::max(precision, -1) : std::max(precision, 0);
        }
        if (i >= FFormat.size())
            Invalid();
        const char16_t type = FFormat.at(i++).toLower().unicode();
        if (!QStringView(u"duefgnmpsx").contains(QChar(type)))
            Invalid();
        d.Type = type;
        return d;
    }

    const TVariant& NextArg()
    {
        if (FNext >= FArgs.size())
            Invalid();
        return FArgs[FNext++];
    }

    qint64 IntegerArg()
    {
        const TVariant& arg = NextArg();
        if (arg.VarType() != varInt64)
            Invalid();
        return arg.AsInt64();
    }

    // The argument's digits, and how many integer digits a fixed layout may show of it.
    TDecimalNumber FloatArg(int& fixedPrecision)
    {
        const TVariant& arg = NextArg();
        if (arg.VarType() == varDouble) {
            fixedPrecision = kFixedDoublePrecision;
            return TDecimalNumber::FromDouble(arg.AsFloat(), kDoubleDigits);
        }
        if (arg.VarType() == varCurrency) {
            fixedPrecision = kCurrencyPrecision;
            return TDecimalNumber::FromCurrency(arg.AsCurrency());
        }
        Invalid();
    }

    QString StringArg(int precision)
    {
        const TVariant& arg = NextArg();
        if (!arg.IsClear() && !arg.IsString())
            Invalid();
        QString text = arg.AsString();
        if (precision >= 0 && precision < text.size()) {
            qsizetype cut = precision;
            if (cut > 0 && text.at(cut - 1).isHighSurrogate() && text.at(cut).isLowSurrogate())
                --cut; // never split a character in two
            text.truncate(cut);
        }
        return text;
    }

    static QString ZeroPadded(QString digits, int precision)
    {
        if (precision > digits.size())
            digits.prepend(QString(precision - digits.size(), u'0'));
        return digits;
    }

    QString Convert(const TDirective& d)
    {
        switch (d.Type) {
        case u'd': {
            const qint64 v = IntegerArg();
            const quint64 magnitude = v < 0 ? quint64(0) - quint64(v) : quint64(v);
            const QString digits = ZeroPadded(QString::number(magnitude), d.Precision);
            return v < 0 ? u'-' + digits : digits;
        }
        case u'u':
            return ZeroPadded(QString::number(quint64(IntegerArg())), d.Precision);
        case u'x':
            return ZeroPadded(QString::number(quint64(IntegerArg()), 16).toUpper(), d.Precision);
        case u'p':
            return ZeroPadded(QString::number(quint64(IntegerArg()), 16).toUpper(), 16);
        case u's':
            return StringArg(d.Precision);
        default:
            return ConvertFloat(d);
        }
    }

    QString ConvertFloat(const TDirective& d)
    {
        int fixedPrecision = 0;
        const TDecimalNumber n = FloatArg(fixedPrecision);
        switch (d.Type) {
        case u'e':
            return DecimalToStrF(n, ffExponent, d.Precision < 0 ? 15 : d.Precision, 3, FSettings);
        case u'g':
            return DecimalToStrF(n, ffGeneral, d.Precision < 0 ? 15 : d.Precision, 0, FSettings);
        case u'f':
            return DecimalToStrF(n, ffFixed, fixedPrecision, d.Precision < 0 ? 2 : d.Precision, FSettings);
        case u'n':
            return DecimalToStrF(n, ffNumber, fixedPrecision, d.Precision < 0 ? 2 : d.Precision, FSettings);
        default:
            return DecimalToStrF(n, ffCurrency, fixedPrecision,
                                 d.Precision < 0 ? FSettings.CurrencyDecimals : d.Precision, FSettings);
        }
    }

    void Pad(const QString& text, const TDirective& d)
    {
        const qsizetype fill = d.Width - text.size();
        if (fill > 0 && !d.LeftAlign)
            FOut += QString(fill, u' ');
        FOut += text;
        if (fill > 0 && d.LeftAlign)
            FOut += QString(fill, u' ');
    }

    const QString& FFormat;
    const std::vector<TVariant>& FArgs;
    const TFormatSettings& FSettings;
    size_t FNext = 0;
    QString FOut;
};

} // namespace

QString Format(const QString& format, const std::vector<TVariant>& args, const TFormatSettings& settings)
{
    return TFormatter(format, args, settings).Run();
}

QString Format(const QString& format, std::initializer_list<TVariant> args, const TFormatSettings& settings)
{
    return Format(format, std::vector<TVariant>(args), settings);
}

} // namespace orvo
