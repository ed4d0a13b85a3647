#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <memory>

class QAbstractScrollArea;

namespace orvo {

class TGridBenchView;

/// Measures one grid variant inside the current process, which should be a fresh
/// child per variant so that the peak memory is the variant's own. The view is a
/// top-level window of 1600 × 900 on whatever platform plugin runs (offscreen in
/// the run script).
class TGridBenchRunner
{
public:
    /// The variants in report order; "empty" measures nothing but a bare process with a window system.
    static QStringList VariantNames();
    static QString VariantTitle(const QString& name);

    /// Runs the steps and returns figures: times in ms, memory in kB.
    static QMap<QString, double> Run(const QString& variant, const QString& fileName);

    static constexpr int Width = 1600;
    static constexpr int Height = 900;
    static constexpr int Jumps = 20;
    /// Down presses in a row, as a held key repeats them.
    static constexpr int Steps = 300;

private:
    static std::unique_ptr<TGridBenchView> CreateView(const QString& variant, const QString& fileName);
    static double OpenToFirstPaint(TGridBenchView& view);
    static void MeasureJumps(TGridBenchView& view, int rowCount, QMap<QString, double>& figures);
    static double LastWithPaint(TGridBenchView& view, int rowCount);
    static void MeasureKeyRepeat(TGridBenchView& view, int rowCount, QMap<QString, double>& figures);
};

} // namespace orvo
