// OrvoDemo1: makes the sample database on first start, then shows its customers.

#include "torvoform1.h"

#include "platform/core/exceptions.h"
#include "sampledb/tsampledatabase.h"

#include <QApplication>
#include <QMessageBox>

using namespace orvo;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("OrvoDemo1"));
    QApplication::setApplicationDisplayName(QStringLiteral("Orvo Demo #1"));
    try {
        // The data lives in the user's data folder, never beside the program.
        const QString path = TSampleDatabase::DefaultPath();
        TSampleDatabase::EnsureSampleDatabase(path);
        TOrvoForm1 form(path);
        form.show();
        return QApplication::exec();
    } catch (const Exception& e) {
        QMessageBox::critical(nullptr, QApplication::applicationDisplayName(), e.Message());
        return 1;
    }
}
