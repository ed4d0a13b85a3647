#pragma once

#include <QString>
#include <QStringList>

#include <map>

namespace orvo::bench {

/// The figures one child run prints, "name=value" a line.
using TFigures = std::map<QString, double>;

/// Runs `program --child <variant> --db <fileName>` in a process of its own (so that every
/// variant starts from a fresh heap) and reads its figures; raises when the child fails.
TFigures RunChild(const QString& program, const QString& variant, const QString& fileName);

/// The median of every figure over `repeats` child runs of each of `variants`.
std::map<QString, TFigures> CollectMedians(const QString& program, const QStringList& variants,
                                           const QString& fileName, int repeats);

} // namespace orvo::bench
