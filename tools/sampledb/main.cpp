// orvo-sampledb: creates the demo database when it is missing (or anew, dropping every
// edit, with --reset) and shows what is in it, read through the dataset layer exactly
// as the grid will read it.

#include "sampledb/tsampledatabase.h"

#include "platform/core/exceptions.h"
#include "platform/data/tfield.h"
#include "platform/data/tfields.h"
#include "platform/data/tfieldtype.h"
#include "platform/sqlite/tsqlitedatabase.h"
#include "platform/sqlite/tsqlitetable.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include <cstdlib>
#include <optional>

using namespace orvo;

namespace {

struct Options
{
    QString Path;
    bool Reset = false;
    std::optional<qint64> BigOrders;
};

[[noreturn]] void Fail(const QString& message, int exitCode)
{
    QTextStream(stderr) << QCoreApplication::applicationName() << ": " << message << '\n';
    std::exit(exitCode);
}

Options ParseOptions(const QCoreApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Creates Orvo's sample database when it is missing and lists its tables, "
                       "their fields and record counts."));
    parser.addHelpOption();
    const QCommandLineOption path(
        QStringLiteral("path"),
        QStringLiteral("The database file (default: %1).").arg(TSampleDatabase::DefaultPath()),
        QStringLiteral("FILE"));
    const QCommandLineOption bigOrders(
        QStringLiteral("big-orders"),
        QStringLiteral("(Re)creates the table BigOrders with N generated rows."), QStringLiteral("N"));
    const QCommandLineOption reset(
        QStringLiteral("reset"),
        QStringLiteral("Makes the sample database anew: every edit and added table is dropped."));
    parser.addOption(path);
    parser.addOption(reset);
    parser.addOption(bigOrders);
    parser.process(app);
    if (!parser.positionalArguments().isEmpty())
        Fail(
            QStringLiteral("unexpected argument '%1' (see --help)").arg(parser.positionalArguments().first()),
            2);

    Options options;
    options.Path = parser.isSet(path) ? parser.value(path) : TSampleDatabase::DefaultPath();
    options.Reset = parser.isSet(reset);
    if (parser.isSet(bigOrders)) {
        bool ok = false;
        options.BigOrders = parser.value(bigOrders).toLongLong(&ok);
        if (!ok || *options.BigOrders < 0)
            Fail(QStringLiteral("--big-orders needs a whole number of rows, not '%1'")
                     .arg(parser.value(bigOrders)),
                 2);
    }
    return options;
}

QString TypeText(const TField& field)
{
    const QString name = FieldTypeName(field.DataType());
    return IsStringFieldType(field.DataType()) && field.Size() > 0
               ? QStringLiteral("%1(%2)").arg(name).arg(field.Size())
               : name;
}

// Read through TSQLiteTable rather than the schema, so that what is printed is what
// the grid and the demos will see: the dataset layer's field types and its record count.
void PrintTable(TSQLiteDatabase& db, const QString& tableName, QTextStream& out)
{
    TSQLiteTable table;
    table.SetDatabase(&db);
    table.SetTableName(tableName);
    table.Open();
    out << tableName << ": " << table.RecordCount() << " records\n";
    TFields* fields = table.Fields();
    for (int i = 0; i < fields->Count(); ++i)
        out << "    " << fields->Field(i)->FieldName().leftJustified(16) << ' ' << TypeText(*fields->Field(i))
            << '\n';
}

/// Makes sure the database is there, or makes it anew, and says which was done.
QString PrepareDatabase(const Options& options)
{
    if (options.Reset) {
        TSampleDatabase::ResetSampleDatabase(options.Path);
        return QStringLiteral("made anew");
    }
    return TSampleDatabase::EnsureSampleDatabase(options.Path) ? QStringLiteral("created")
                                                               : QStringLiteral("already there");
}

void Run(const Options& options)
{
    const QString state = PrepareDatabase(options);
    TSQLiteDatabase db;
    db.SetDatabaseName(options.Path);
    db.Open();
    if (options.BigOrders)
        TSampleDatabase::CreateBigOrders(db, QStringLiteral("BigOrders"), *options.BigOrders);

    QTextStream out(stdout);
    out << "Sample database: " << QDir::toNativeSeparators(options.Path) << " (" << state << ")\n\n";
    for (const QString& table : db.TableNames()) {
        PrintTable(db, table, out);
        out << '\n';
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvo-sampledb"));
    try {
        Run(ParseOptions(app));
    } catch (const Exception& e) {
        Fail(e.Message(), 1);
    }
    return 0;
}
