#include "common/tsystemprofilescope.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/common/tgridsettingsguard.h"
#include "grid/dbgrid/orvolistsettings.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/filter/torvofilterdialect.h"
#include "grid/totals/torvocolumntotalvalue.h"
#include "platform/core/exceptions.h"

#include <QTest>

#include <optional>
#include <stdexcept>

using namespace orvo;
using namespace orvo::test;

namespace {

/// Every setting the guard keeps, as one text, so that a single comparison shows which
/// one was not put back.
QStringList Settings()
{
    const TSystemProfile& profile = TSystemProfile::Current();
    const TFormatSettings& format = TFormatSettings::Default();
    return {QStringLiteral("profile %1 %2 %3 %4")
                .arg(profile.MajorVersion())
                .arg(profile.BuildNumber())
                .arg(profile.ThemesEnabled())
                .arg(profile.PrimaryLanguageId()),
            QStringLiteral("format %1 %2").arg(format.DecimalSeparator).arg(format.ShortDateFormat),
            TOrvoCustomDBGrid::AutoNumberFormat(),
            QString::number(TOrvoCustomDBGrid::UpdateDelay()),
            TOrvoColumnTotalValue::TotalNullText(),
            TOrvoDBGridColumns::NumberColumnCaption(),
            TOrvoDBGridColumns::SelectColumnCaption(),
            TOrvoDBGridColumns::ExpandColumnCaption(),
            QString::number(TOrvoDBGridColumns::AutoColumnWidth()),
            QString::number(TOrvoListSettings::MaxListRows()),
            QString::number(TOrvoListSettings::MaxListWidth()),
            QString::number(TOrvoListSettings::ListAnimationDelay()),
            QString::number(TOrvoListSettings::ListMouseTracking()),
            TOrvoListSettings::ListCaptions().join(u'|'),
            TOrvoFilterDialect::ClauseCaptions().join(u'|'),
            TOrvoFilterDialect::ExpressionTemplates().join(u'|'),
            TOrvoFilterDialect::NullTemplates().join(u'|')};
}

void ChangeEverySetting()
{
    TSystemProfile korean;
    korean.SetPrimaryLanguageId(TSystemProfile::LangKorean);
    korean.SetThemesEnabled(false);
    TSystemProfile::SetCurrent(korean);
    TFormatSettings format = TFormatSettings::Invariant();
    format.DecimalSeparator = u',';
    format.ShortDateFormat = QStringLiteral("dd.mm.yyyy");
    TFormatSettings::SetDefault(format);
    TOrvoCustomDBGrid::AutoNumberFormat() = QStringLiteral("#%d");
    TOrvoCustomDBGrid::SetUpdateDelay(7);
    TOrvoColumnTotalValue::SetTotalNullText(QStringLiteral("n/a"));
    TOrvoDBGridColumns::NumberColumnCaption() = QStringLiteral("Nr.");
    TOrvoDBGridColumns::SelectColumnCaption() = QStringLiteral("Wahl");
    TOrvoDBGridColumns::ExpandColumnCaption() = QStringLiteral("Mehr");
    TOrvoDBGridColumns::AutoColumnWidth() += 9;
    TOrvoListSettings::MaxListRows() += 1;
    TOrvoListSettings::MaxListWidth() += 1;
    TOrvoListSettings::ListAnimationDelay() += 1;
    TOrvoListSettings::ListMouseTracking() = !TOrvoListSettings::ListMouseTracking();
    TOrvoListSettings::ListCaptions() << QStringLiteral("extra");
    TOrvoFilterDialect::ClauseCaptions() << QStringLiteral("extra");
    TOrvoFilterDialect::ExpressionTemplates() << QStringLiteral("extra");
    TOrvoFilterDialect::NullTemplates() << QStringLiteral("extra");
}

/// Changes every setting, then fails a check the way a broken test would: QVERIFY
/// returns from the function, so nothing after it runs.
void ChangeThenFailACheck(bool guarded)
{
    std::optional<TGridSettingsGuard> guard;
    if (guarded)
        guard.emplace();
    ChangeEverySetting();
    QEXPECT_FAIL("", "the check fails on purpose, to leave the scope early", Abort);
    QVERIFY(false);
}

} // namespace

/// The guard that grid tests take around program-wide settings, and the proof that it
/// puts them back however its scope is left.
class TestGridTestSupport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void aFailedCheckLeaksTheSettingsOnlyWithoutTheGuard_data();
    void aFailedCheckLeaksTheSettingsOnlyWithoutTheGuard();
    void aFailingTestFunctionUnderTheGuard();
    void theNextTestFunctionFindsTheSettingsRestored();
    void settingsComeBackWhenAnExceptionLeavesTheScope();
    void theDefaultHandlerIsBackAfterTheScope();
    void profileScopePutsBackTheProfileItFound();

private:
    QStringList FUntouched;
};

void TestGridTestSupport::initTestCase()
{
    FUntouched = Settings();
    TGridSettingsGuard guard;
    ChangeEverySetting();
    // Each setting is changed: a setting the guard forgets shows in the comparisons below.
    const QStringList changed = Settings();
    for (int i = 0; i < FUntouched.size(); ++i)
        QVERIFY2(changed[i] != FUntouched[i], qPrintable(FUntouched[i]));
}

void TestGridTestSupport::aFailedCheckLeaksTheSettingsOnlyWithoutTheGuard_data()
{
    QTest::addColumn<bool>("guarded");
    QTest::newRow("guarded") << true;
    QTest::newRow("unguarded") << false;
}

void TestGridTestSupport::aFailedCheckLeaksTheSettingsOnlyWithoutTheGuard()
{
    QFETCH(bool, guarded);
    // The outer guard cleans up after the unguarded row, which shows what a test that
    // restores its settings by hand after its checks leaves behind.
    TGridSettingsGuard outer;
    ChangeThenFailACheck(guarded);
    QCOMPARE(Settings() != FUntouched, !guarded);
}

void TestGridTestSupport::aFailingTestFunctionUnderTheGuard()
{
    TGridSettingsGuard guard([](std::exception_ptr) {});
    ChangeEverySetting();
    QEXPECT_FAIL("", "the check fails on purpose, to end this test function early", Abort);
    QCOMPARE(TOrvoCustomDBGrid::AutoNumberFormat(), FUntouched[2]);
}

void TestGridTestSupport::theNextTestFunctionFindsTheSettingsRestored()
{
    QCOMPARE(Settings(), FUntouched);
}

void TestGridTestSupport::settingsComeBackWhenAnExceptionLeavesTheScope()
{
    bool caught = false;
    try {
        TGridSettingsGuard guard;
        ChangeEverySetting();
        throw EInvalidOperation(QStringLiteral("leaves the scope"));
    } catch (const EInvalidOperation&) {
        caught = true;
    }
    QVERIFY(caught);
    QCOMPARE(Settings(), FUntouched);
}

void TestGridTestSupport::theDefaultHandlerIsBackAfterTheScope()
{
    int handled = 0;
    {
        TGridSettingsGuard guard([&handled](std::exception_ptr) { ++handled; });
        TExceptionHandler::Handle(std::make_exception_ptr(std::runtime_error("inside")));
        QCOMPARE(handled, 1);
    }
    // The default handler logs when no dialog can be shown, as on the offscreen platform.
    QTest::ignoreMessage(QtCriticalMsg, "orvo: outside");
    TExceptionHandler::Handle(std::make_exception_ptr(std::runtime_error("outside")));
    QCOMPARE(handled, 1);
}

void TestGridTestSupport::profileScopePutsBackTheProfileItFound()
{
    TSystemProfile older;
    older.SetMajorVersion(6);
    TSystemProfileScope outer(older);
    {
        TSystemProfileScope inner(TSystemProfileScope::WithThemes(false));
        QVERIFY(!TSystemProfile::Current().ThemesEnabled());
        QCOMPARE(TSystemProfile::Current().MajorVersion(), 10);
    }
    QVERIFY(TSystemProfile::Current().ThemesEnabled());
    QCOMPARE(TSystemProfile::Current().MajorVersion(), 6);
}

QTEST_MAIN(TestGridTestSupport)
#include "tst_gridtestsupport.moc"
