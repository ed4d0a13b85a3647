#include "platform/core/exceptions.h"
#include "platform/core/texceptionhandler.h"
#include "platform/core/tscopecleanup.h"

#include <QtTest>

using namespace orvo;

namespace {

QString MessageOf(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        return e.Message();
    } catch (...) {
        return QStringLiteral("not an Orvo exception");
    }
}

/// Leaves a scope holding a clean-up, normally or by an exception; true when it threw.
bool LeaveScope(bool always, bool throwing, int& runs)
{
    try {
        const auto count = [&runs] { ++runs; };
        if (always) {
            const auto done = Finally(count);
            if (throwing)
                throw EConvertError(QStringLiteral("body"));
        } else {
            const auto undo = OnUnwind(count);
            if (throwing)
                throw EConvertError(QStringLiteral("body"));
        }
    } catch (const EConvertError&) {
        return true;
    }
    return false;
}

/// Ends a scope with a clean-up normally while it is itself destroyed by an unwinding exception.
struct TCleanupInDestructor
{
    int& FinallyRuns;
    int& UnwindRuns;
    ~TCleanupInDestructor()
    {
        const auto done = Finally([this] { ++FinallyRuns; });
        const auto undo = OnUnwind([this] { ++UnwindRuns; });
    }
};

} // namespace

class TestScopeCleanup : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        FHandled.clear();
        TExceptionHandler::SetHandler([this](std::exception_ptr e) { FHandled << MessageOf(e); });
    }
    void cleanup() { TExceptionHandler::SetHandler({}); }

    void runsWhenItShould_data();
    void runsWhenItShould();
    void theLeavingExceptionWinsOverAFailingCleanup_data();
    void theLeavingExceptionWinsOverAFailingCleanup();
    void aFailingFinallyOnNormalExitThrows();
    void aScopeEndingNormallyDuringUnwindIsNotUnwound();

private:
    QStringList FHandled;
};

void TestScopeCleanup::runsWhenItShould_data()
{
    QTest::addColumn<bool>("always");
    QTest::addColumn<bool>("throwing");
    QTest::addColumn<int>("runs");
    QTest::newRow("Finally, normal exit") << true << false << 1;
    QTest::newRow("Finally, exception") << true << true << 1;
    QTest::newRow("OnUnwind, normal exit") << false << false << 0;
    QTest::newRow("OnUnwind, exception") << false << true << 1;
}

void TestScopeCleanup::runsWhenItShould()
{
    QFETCH(bool, always);
    QFETCH(bool, throwing);
    QFETCH(int, runs);
    int counted = 0;
    QCOMPARE(LeaveScope(always, throwing, counted), throwing);
    QCOMPARE(counted, runs);
    QVERIFY(FHandled.isEmpty());
}

void TestScopeCleanup::theLeavingExceptionWinsOverAFailingCleanup_data()
{
    QTest::addColumn<bool>("always");
    QTest::newRow("Finally") << true;
    QTest::newRow("OnUnwind") << false;
}

void TestScopeCleanup::theLeavingExceptionWinsOverAFailingCleanup()
{
    QFETCH(bool, always);
    const auto fail = [] { throw EDatabaseError(QStringLiteral("cleanup")); };
    QString caught;
    try {
        if (always) {
            const auto done = Finally(fail);
            throw EConvertError(QStringLiteral("body"));
        }
        const auto undo = OnUnwind(fail);
        throw EConvertError(QStringLiteral("body"));
    } catch (const Exception& e) {
        caught = e.Message();
    }
    QCOMPARE(caught, QStringLiteral("body"));
    QCOMPARE(FHandled, QStringList{QStringLiteral("cleanup")});
}

void TestScopeCleanup::aFailingFinallyOnNormalExitThrows()
{
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, [] {
        const auto done = Finally([] { throw EDatabaseError(QStringLiteral("cleanup")); });
    }());
    QVERIFY(FHandled.isEmpty());
}

void TestScopeCleanup::aScopeEndingNormallyDuringUnwindIsNotUnwound()
{
    int finallyRuns = 0;
    int unwindRuns = 0;
    try {
        const TCleanupInDestructor inner{finallyRuns, unwindRuns};
        throw EConvertError(QStringLiteral("body"));
    } catch (const EConvertError&) {
    }
    QCOMPARE(finallyRuns, 1);
    QCOMPARE(unwindRuns, 0);
}

QTEST_GUILESS_MAIN(TestScopeCleanup)
#include "tst_scopecleanup.moc"
