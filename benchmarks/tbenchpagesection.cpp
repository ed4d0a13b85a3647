#include "tbenchpagesection.h"

#include "platform/core/exceptions.h"

#include <QFile>
#include <QSaveFile>

#include <utility>

namespace orvo {

TBenchPageSection::TBenchPageSection(QString beginMarker, QString endMarker)
    : FBegin(std::move(beginMarker)), FEnd(std::move(endMarker))
{}

TBenchPageSection TBenchPageSection::Grid()
{
    return TBenchPageSection(QStringLiteral("<!-- bench_grid: begin -->"),
                             QStringLiteral("<!-- bench_grid: end -->"));
}

TBenchPageSection TBenchPageSection::CustomData()
{
    return TBenchPageSection(QStringLiteral("<!-- bench_customdata: begin -->"),
                             QStringLiteral("<!-- bench_customdata: end -->"));
}

TBenchPageSection TBenchPageSection::Selection()
{
    return TBenchPageSection(QStringLiteral("<!-- bench_selection: begin -->"),
                             QStringLiteral("<!-- bench_selection: end -->"));
}

TBenchPageSection TBenchPageSection::Sorting()
{
    return TBenchPageSection(QStringLiteral("<!-- bench_sorting: begin -->"),
                             QStringLiteral("<!-- bench_sorting: end -->"));
}

TBenchPageSection TBenchPageSection::Order()
{
    return TBenchPageSection(QStringLiteral("<!-- bench_order: begin -->"),
                             QStringLiteral("<!-- bench_order: end -->"));
}

TBenchPageSection TBenchPageSection::Totals()
{
    return TBenchPageSection(QStringLiteral("<!-- bench_totals: begin -->"),
                             QStringLiteral("<!-- bench_totals: end -->"));
}

TBenchPageSection TBenchPageSection::FilterApply()
{
    return TBenchPageSection(QStringLiteral("<!-- bench_filterapply: begin -->"),
                             QStringLiteral("<!-- bench_filterapply: end -->"));
}

TBenchPageSection TBenchPageSection::FilterValues()
{
    return TBenchPageSection(QStringLiteral("<!-- bench_filtervalues: begin -->"),
                             QStringLiteral("<!-- bench_filtervalues: end -->"));
}

std::vector<TBenchPageSection> TBenchPageSection::BesideDatasets()
{
    return {Grid(), CustomData(), Selection(), Sorting(), Order(), Totals(), FilterApply(), FilterValues()};
}

void TBenchPageSection::Locate(const QString& page, qsizetype& begin, qsizetype& after) const
{
    begin = page.indexOf(FBegin);
    const qsizetype end = begin < 0 ? -1 : page.indexOf(FEnd, begin);
    if (end < 0) {
        begin = -1;
        after = -1;
        return;
    }
    after = end + FEnd.size();
    if (after < page.size() && page.at(after) == QLatin1Char('\n'))
        ++after;
}

QString TBenchPageSection::Extract(const QString& page) const
{
    qsizetype begin = 0;
    qsizetype after = 0;
    Locate(page, begin, after);
    return begin < 0 ? QString() : page.mid(begin, after - begin);
}

QString TBenchPageSection::Merge(const QString& page, const QString& section) const
{
    qsizetype begin = 0;
    qsizetype after = 0;
    Locate(page, begin, after);
    if (begin >= 0)
        return page.left(begin) + section + page.mid(after);
    const QString separator = page.isEmpty() || page.endsWith(QLatin1String("\n\n")) ? QString()
                              : page.endsWith(QLatin1Char('\n'))                     ? QStringLiteral("\n")
                                                                                     : QStringLiteral("\n\n");
    return page + separator + section;
}

QString TBenchPageSection::ReadPage(const QString& fileName)
{
    QFile file(fileName);
    if (fileName.isEmpty() || !file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

void TBenchPageSection::WritePage(const QString& fileName, const QString& page)
{
    const QByteArray bytes = page.toUtf8();
    QSaveFile out(fileName);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        throw Exception(QStringLiteral("Cannot write %1: %2").arg(fileName, out.errorString()));
}

} // namespace orvo
