#include "platform/core/texceptionhandler.h"

#include "platform/core/exceptions.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QtDebug>

namespace orvo {

namespace {

TExceptionHandler::Handler& currentHandler()
{
    static TExceptionHandler::Handler handler;
    return handler;
}

QString messageOf(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

bool isAbort(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const EAbort&) {
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace

void TExceptionHandler::SetHandler(Handler handler)
{
    currentHandler() = std::move(handler);
}

void TExceptionHandler::Handle(std::exception_ptr error) noexcept
{
    if (!error || isAbort(error))
        return;
    try {
        if (currentHandler())
            currentHandler()(error);
        else
            DefaultHandler(error);
    } catch (...) {
        // A failing handler must not take the event loop down with it.
        qCritical("orvo: the exception handler itself failed");
    }
}

void TExceptionHandler::HandleCurrent() noexcept
{
    Handle(std::current_exception());
}

void TExceptionHandler::DefaultHandler(std::exception_ptr error)
{
    const QString message = messageOf(error);
    const bool canShowDialog = qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr &&
                               QGuiApplication::platformName() != QLatin1String("offscreen") &&
                               QGuiApplication::platformName() != QLatin1String("minimal");
    if (canShowDialog)
        QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationDisplayName(), message);
    else
        qCritical().noquote() << "orvo:" << message;
}

} // namespace orvo
