#pragma once

#include "common/texceptionhandlerscope.h"
#include "platform/core/tformatsettings.h"
#include "platform/core/tsystemprofile.h"

#include <QString>
#include <QStringList>

namespace orvo::test {

/// Takes a copy of every program-wide setting the grid reads (its texts, captions,
/// delays and list settings, the default format settings and the system profile) and
/// puts it back when the scope ends, and ends with the default exception handler
/// installed. A test that changes such a setting makes one first: when a check fails,
/// QtTest returns from the test function, and without the guard the changed setting
/// would stay for every test function after it.
class TGridSettingsGuard
{
public:
    /// `handler` is installed for the scope; none keeps the default one.
    explicit TGridSettingsGuard(TExceptionHandler::Handler handler = {});
    ~TGridSettingsGuard();
    TGridSettingsGuard(const TGridSettingsGuard&) = delete;
    TGridSettingsGuard& operator=(const TGridSettingsGuard&) = delete;

private:
    TExceptionHandlerScope FHandler;
    TSystemProfile FProfile;
    TFormatSettings FFormat;
    QString FAutoNumberFormat;
    int FUpdateDelay;
    QString FTotalNullText;
    QString FNumberColumnCaption;
    QString FSelectColumnCaption;
    QString FExpandColumnCaption;
    int FAutoColumnWidth;
    int FMaxListRows;
    int FMaxListWidth;
    int FListAnimationDelay;
    bool FListMouseTracking;
    QStringList FListCaptions;
    QStringList FClauseCaptions;
    QStringList FExpressionTemplates;
    QStringList FNullTemplates;
};

} // namespace orvo::test
