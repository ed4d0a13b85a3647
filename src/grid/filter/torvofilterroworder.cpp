#include "grid/filter/torvofilterroworder.h"

#include <QCollator>
#include <QSet>

#include <algorithm>
#include <vector>

namespace orvo {

namespace {

// Exact repeats go first, keeping the first of each: the rows of a walk repeat a value for
// every record that holds it, and no key needs to be made for those.
void DropExactRepeats(QStringList& rows)
{
    QSet<QString> seen;
    seen.reserve(rows.size());
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [&seen](const QString& row) {
                                  const qsizetype before = seen.size();
                                  seen.insert(row);
                                  return seen.size() == before;
                              }),
               rows.end());
}

template <typename Key> struct TKeyedRow
{
    Key SortKey;
    qsizetype Index;
};

// Calls `progress` now and then from a long loop: once every few thousand steps.
class TProgressTick
{
public:
    explicit TProgressTick(const std::function<void()>& progress) : FProgress(progress) {}
    void operator()()
    {
        if (FProgress && (++FSteps & StepMask) == 0)
            FProgress();
    }

private:
    static constexpr unsigned StepMask = 0xfff;
    const std::function<void()>& FProgress;
    unsigned FSteps = 0;
};

// Sorts by the keys `keyOf` makes, equal keys in their first order, and keeps the first row
// of every run of equal keys.
template <typename KeyOf, typename Less>
bool SortDistinctByKeys(QStringList& rows, const KeyOf& keyOf, const Less& less,
                        const std::function<void()>& progress)
{
    using TKey = decltype(keyOf(QString()));
    TProgressTick tick(progress);
    std::vector<TKeyedRow<TKey>> keyed;
    keyed.reserve(size_t(rows.size()));
    for (qsizetype i = 0; i < rows.size(); ++i) {
        keyed.push_back({keyOf(rows.at(i)), i});
        tick();
    }
    std::sort(keyed.begin(), keyed.end(), [&less, &tick](const TKeyedRow<TKey>& a, const TKeyedRow<TKey>& b) {
        tick();
        if (less(a.SortKey, b.SortKey))
            return true;
        return !less(b.SortKey, a.SortKey) && a.Index < b.Index;
    });
    bool variantDropped = false;
    QStringList sorted;
    sorted.reserve(rows.size());
    for (size_t i = 0; i < keyed.size(); ++i) {
        tick();
        const QString& row = rows.at(keyed[i].Index);
        if (i > 0 && !less(keyed[i - 1].SortKey, keyed[i].SortKey)) {
            variantDropped = variantDropped || row != sorted.last();
            continue;
        }
        sorted << row;
    }
    rows = std::move(sorted);
    return variantDropped;
}

} // namespace

QString TOrvoFilterRowOrder::FoldedKey(const QString& text)
{
    const auto folded = [](char32_t code) -> char32_t {
        if (code < 0x80)
            return code >= u'A' && code <= u'Z' ? code + (u'a' - u'A') : code;
        return QChar::toCaseFolded(code);
    };
    QString key;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t code = text.at(i).unicode();
        const qsizetype start = i;
        if (QChar::isHighSurrogate(code) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            code = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            ++i;
        }
        const char32_t fold = folded(code);
        if (key.isEmpty()) {
            if (fold == code)
                continue;
            key.reserve(text.size());
            key.append(QStringView(text).left(start));
        }
        if (QChar::requiresSurrogates(fold))
            key.append(QChar(QChar::highSurrogate(fold))).append(QChar(QChar::lowSurrogate(fold)));
        else
            key.append(QChar(char16_t(fold)));
    }
    return key.isEmpty() ? text : key;
}

bool TOrvoFilterRowOrder::SortDistinct(QStringList& rows)
{
    DropExactRepeats(rows);
    return SortMostlyDistinct(rows);
}

bool TOrvoFilterRowOrder::SortMostlyDistinct(QStringList& rows, const std::function<void()>& progress)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // The C locale compares case-folded code units; other locales collate, and their sort
    // keys compare as the collator compares the texts.
    if (collator.locale().language() == QLocale::C)
        return SortDistinctByKeys(
            rows, &TOrvoFilterRowOrder::FoldedKey, [](const QString& a, const QString& b) { return a < b; },
            progress);
    return SortDistinctByKeys(
        rows, [&collator](const QString& row) { return collator.sortKey(row); },
        [](const QCollatorSortKey& a, const QCollatorSortKey& b) { return a.compare(b) < 0; }, progress);
}

} // namespace orvo
