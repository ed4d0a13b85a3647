// A grid's stored layout is a settings file anyone may edit or damage: whatever lines
// it holds, applying them to a grid over real data ends at once, with the grid's
// geometry and painting within their arithmetic, or with an Exception.
#include "fuzzinput.h"

#include "grid/dbgrid/torvodbgrid.h"
#include "grid/settings/torvodbgridsettings.h"
#include "platform/core/exceptions.h"
#include "platform/core/texceptionhandler.h"
#include "platform/data/tdatasource.h"
#include "platform/sqlite/tsqlitedatabase.h"
#include "platform/sqlite/tsqlitetable.h"

#include <QApplication>
#include <QImage>

using namespace orvo;

namespace {

/// The data every run's grid shows: a few records of text, numbers and dates.
struct TFixture
{
    TFixture()
    {
        Database.SetDatabaseName(QStringLiteral(":memory:"));
        Database.Open();
        Database.ExecSQL(QStringLiteral("CREATE TABLE Customer (Name TEXT, City VARCHAR(20), Qty INTEGER, "
                                        "Price REAL, Born DATE)"));
        for (int i = 0; i < 30; ++i)
            Database.ExecSQL(QStringLiteral("INSERT INTO Customer VALUES (?, ?, ?, ?, ?)"),
                             {QStringLiteral("Name%1").arg(i), i % 3 ? QStringLiteral("Paris") : QString(),
                              qint64(i), i * 1.5,
                              QStringLiteral("2024-03-%1").arg(i % 28 + 1, 2, 10, QLatin1Char('0'))});
        Table.SetDatabase(&Database);
        Table.SetTableName(QStringLiteral("Customer"));
        Source.SetDataSet(&Table);
        Table.Open();
    }

    TSQLiteDatabase Database;
    TSQLiteTable Table;
    TDataSource Source;
};

TFixture& Fixture()
{
    static TFixture fixture;
    return fixture;
}

TOrvoSettingsOptions EveryOption()
{
    TOrvoSettingsOptions options;
    for (int o = soLoadLayout; o <= soFilters; ++o)
        options.Include(TOrvoSettingsOption(o));
    return options;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(*argc, *argv);
    // A handled exception is a refusal with a message, which damaged input may earn.
    TExceptionHandler::SetHandler([](std::exception_ptr) {});
    Fixture();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList lines = fuzz::Utf8Text(data, size).split(QLatin1Char('\n'));
    TOrvoDBGrid grid;
    grid.resize(420, 260);
    grid.SetDataSource(&Fixture().Source);
    grid.Settings()->SetOptions(EveryOption());
    try {
        grid.Settings()->SetLayout(lines);
    } catch (const Exception&) {
        return 0; // refused with a message: that is allowed
    }
    // Laying out and painting what was applied is where damaged numbers would overflow.
    QImage canvas(grid.size(), QImage::Format_ARGB32);
    grid.render(&canvas);
    const QStringList written = grid.Settings()->Layout();
    fuzz::Require(!written.isEmpty(), "an applied layout can be stored again");
    return 0;
}
