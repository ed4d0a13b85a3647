#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace orvo {

/// Root of every error the suite and its platform layer raise: an exception
/// that carries a message meant for a person.
class Exception : public std::exception
{
public:
    explicit Exception(const QString& message) : FMessage(message), FUtf8(message.toUtf8()) {}

    const QString& Message() const { return FMessage; }
    const char* what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};

/// The silent exception: ends an operation without telling anybody.
class EAbort : public Exception
{
public:
    EAbort() : Exception(QStringLiteral("Operation aborted")) {}
};

#define ORVO_DECLARE_EXCEPTION(Name, Base)                                                                   \
    class Name : public Base                                                                                 \
    {                                                                                                        \
    public:                                                                                                  \
        using Base::Base;                                                                                    \
    };

ORVO_DECLARE_EXCEPTION(EConvertError, Exception)
ORVO_DECLARE_EXCEPTION(EVariantError, Exception)
ORVO_DECLARE_EXCEPTION(EInvalidOperation, Exception)
ORVO_DECLARE_EXCEPTION(EListError, Exception)
ORVO_DECLARE_EXCEPTION(EStreamError, Exception)
ORVO_DECLARE_EXCEPTION(EDatabaseError, Exception)
ORVO_DECLARE_EXCEPTION(EInvalidGridOperation, Exception)
ORVO_DECLARE_EXCEPTION(EOutOfResources, Exception)

#undef ORVO_DECLARE_EXCEPTION

} // namespace orvo
