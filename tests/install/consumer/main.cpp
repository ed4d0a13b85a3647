#include <orvo.h>

#include <QCoreApplication>

#include <cstdio>

// Formats a number through the platform layer, to prove that a program outside
// the tree can compile and link against every public header.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const orvo::TVariant value = orvo::FormatFloat(QStringLiteral("#,##0.00"), 1234.5);
    std::printf("%s\n", qPrintable(value.AsString()));
    return value.AsString() == QStringLiteral("1,234.50") ? 0 : 1;
}
