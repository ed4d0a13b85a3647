#include "platform/core/tinifile.h"

#include "platform/core/exceptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace orvo {

namespace {

bool IsLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

bool HasLineBreak(const QString& text)
{
    return std::any_of(text.begin(), text.end(), IsLineBreak);
}

bool IsCommentOrBlank(QStringView trimmed)
{
    return trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';')) || trimmed.startsWith(QLatin1Char('#'));
}

} // namespace

bool TIniFile::IsBlankEntry(const TEntry& entry)
{
    return entry.Name.isEmpty() && entry.Value.trimmed().isEmpty();
}

qsizetype TIniFile::TrailingBlankStart(const TSection& section)
{
    qsizetype start = section.Entries.size();
    while (start > 0 && IsBlankEntry(section.Entries.at(start - 1)))
        --start;
    return start;
}

TIniFile::TIniFile(const QString& fileName) : TCustomIniFile(ResolveFileName(fileName))
{
    Load();
}

QString TIniFile::ResolveFileName(const QString& fileName)
{
    if (fileName.isEmpty() || fileName.contains(QLatin1Char('/')))
        return fileName;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(folder).filePath(fileName);
}

QString TIniFile::EncodeValue(const QString& value)
{
    const bool needsQuotes =
        HasLineBreak(value) || value != value.trimmed() || value.startsWith(QLatin1Char('"'));
    if (!needsQuotes)
        return value;
    QString text;
    text.reserve(value.size() + 2);
    text += QLatin1Char('"');
    for (QChar c : value) {
        if (c == QLatin1Char('\\'))
            text += QLatin1String("\\\\");
        else if (c == QLatin1Char('\n'))
            text += QLatin1String("\\n");
        else if (c == QLatin1Char('\r'))
            text += QLatin1String("\\r");
        else
            text += c;
    }
    text += QLatin1Char('"');
    return text;
}

QString TIniFile::DecodeValue(const QString& text)
{
    if (text.size() < 2 || !text.startsWith(QLatin1Char('"')) || !text.endsWith(QLatin1Char('"')))
        return text;
    QString value;
    value.reserve(text.size() - 2);
    for (qsizetype i = 1; i < text.size() - 1; ++i) {
        const QChar c = text.at(i);
        const QChar next = i + 1 < text.size() - 1 ? text.at(i + 1) : QChar();
        if (c == QLatin1Char('\\') &&
            (next == QLatin1Char('\\') || next == QLatin1Char('n') || next == QLatin1Char('r'))) {
            value += next == QLatin1Char('n')   ? QChar(QLatin1Char('\n'))
                     : next == QLatin1Char('r') ? QChar(QLatin1Char('\r'))
                                                : next;
            ++i;
        } else {
            value += c;
        }
    }
    return value;
}

QString TIniFile::CheckedSectionName(const QString& name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty() || HasLineBreak(trimmed))
        throw EInvalidOperation(QStringLiteral("Invalid INI section name \"%1\"").arg(name));
    return trimmed;
}

QString TIniFile::CheckedValueName(const QString& name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty() || HasLineBreak(trimmed) || trimmed.contains(QLatin1Char('=')) ||
        trimmed.startsWith(QLatin1Char('[')) || IsCommentOrBlank(trimmed))
        throw EInvalidOperation(QStringLiteral("Invalid INI value name \"%1\"").arg(name));
    return trimmed;
}

void TIniFile::Load()
{
    FPreamble.clear();
    FSections.clear();
    QFile file(FileName());
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly))
        throw EStreamError(QStringLiteral("Cannot read \"%1\": %2").arg(FileName(), file.errorString()));
    const QString text = QString::fromUtf8(file.readAll());
    QList<TEntry>* entries = &FPreamble;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QStringView trimmed = line.trimmed();
        const qsizetype close = trimmed.lastIndexOf(QLatin1Char(']'));
        if (trimmed.startsWith(QLatin1Char('[')) && close > 0) {
            FSections.append({trimmed.mid(1, close - 1).trimmed().toString(), {}});
            entries = &FSections.last().Entries;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        const bool isValue = entries != &FPreamble && equals > 0 && !IsCommentOrBlank(trimmed) &&
                             !line.left(equals).trimmed().isEmpty();
        if (isValue)
            entries->append({line.left(equals).trimmed().toString(),
                             DecodeValue(line.mid(equals + 1).trimmed().toString())});
        else
            entries->append({QString(), line.toString()});
    }
    // The split leaves one empty piece after the final line break.
    QList<TEntry>& last = FSections.isEmpty() ? FPreamble : FSections.last().Entries;
    if (text.endsWith(QLatin1Char('\n')) && !last.isEmpty() && last.last().Name.isEmpty() &&
        last.last().Value.isEmpty())
        last.removeLast();
}

QByteArray TIniFile::Serialize() const
{
    QString text;
    const auto appendEntries = [&text](const QList<TEntry>& entries) {
        for (const TEntry& entry : entries) {
            if (entry.Name.isEmpty())
                text += entry.Value;
            else
                text += entry.Name + QLatin1Char('=') + EncodeValue(entry.Value);
            text += QLatin1Char('\n');
        }
    };
    appendEntries(FPreamble);
    for (const TSection& section : FSections) {
        text += QLatin1Char('[') + section.Name + QLatin1String("]\n");
        appendEntries(section.Entries);
    }
    return text.toUtf8();
}

void TIniFile::Save() const
{
    const QFileInfo info(FileName());
    if (!QDir().mkpath(info.absolutePath()))
        throw EStreamError(QStringLiteral("Cannot create the folder of \"%1\"").arg(FileName()));
    QSaveFile file(FileName());
    if (!file.open(QIODevice::WriteOnly) || file.write(Serialize()) < 0 || !file.commit())
        throw EStreamError(QStringLiteral("Cannot write \"%1\": %2").arg(FileName(), file.errorString()));
}

const TIniFile::TSection* TIniFile::FindSection(const QString& name) const
{
    const QString trimmed = name.trimmed();
    for (const TSection& section : FSections) {
        if (section.Name.compare(trimmed, Qt::CaseInsensitive) == 0)
            return &section;
    }
    return nullptr;
}

TIniFile::TSection* TIniFile::FindSection(const QString& name)
{
    return const_cast<TSection*>(std::as_const(*this).FindSection(name));
}

TIniFile::TSection& TIniFile::AddSection(const QString& name)
{
    // A blank line keeps the new section apart from the one before it.
    if (!FSections.isEmpty()) {
        QList<TEntry>& previous = FSections.last().Entries;
        if (previous.isEmpty() || !IsBlankEntry(previous.last()))
            previous.append({QString(), QString()});
    } else if (!FPreamble.isEmpty() && !IsBlankEntry(FPreamble.last())) {
        FPreamble.append({QString(), QString()});
    }
    FSections.append({name, {}});
    return FSections.last();
}

const TIniFile::TEntry* TIniFile::FindEntry(const TSection& section, const QString& name)
{
    const QString trimmed = name.trimmed();
    for (const TEntry& entry : section.Entries) {
        if (!entry.Name.isEmpty() && entry.Name.compare(trimmed, Qt::CaseInsensitive) == 0)
            return &entry;
    }
    return nullptr;
}

bool TIniFile::SetEntry(TSection& section, const QString& name, const QString& value)
{
    if (auto* entry = const_cast<TEntry*>(FindEntry(section, name))) {
        if (entry->Value == value)
            return false;
        entry->Value = value;
        return true;
    }
    // After the section's last value, or else before the blank lines that close the
    // section, so that the section keeps its separation from the next one.
    qsizetype at = TrailingBlankStart(section);
    for (qsizetype i = at; i > 0; --i) {
        if (!section.Entries.at(i - 1).Name.isEmpty()) {
            at = i;
            break;
        }
    }
    section.Entries.insert(at, {name, value});
    return true;
}

QString TIniFile::ReadString(const QString& section, const QString& ident, const QString& defaultValue) const
{
    const TSection* found = FindSection(section);
    const TEntry* entry = found ? FindEntry(*found, ident) : nullptr;
    return entry ? entry->Value : defaultValue;
}

void TIniFile::WriteString(const QString& section, const QString& ident, const QString& value)
{
    const QString sectionName = CheckedSectionName(section);
    const QString name = CheckedValueName(ident);
    Load();
    TSection* found = FindSection(sectionName);
    if (SetEntry(found ? *found : AddSection(sectionName), name, value))
        Save();
}

QStringList TIniFile::ReadSection(const QString& section) const
{
    QStringList names;
    if (const TSection* found = FindSection(section)) {
        for (const TEntry& entry : found->Entries) {
            if (!entry.Name.isEmpty() && !names.contains(entry.Name, Qt::CaseInsensitive))
                names.append(entry.Name);
        }
    }
    return names;
}

QStringList TIniFile::ReadSections() const
{
    QStringList names;
    for (const TSection& section : FSections) {
        if (!names.contains(section.Name, Qt::CaseInsensitive))
            names.append(section.Name);
    }
    return names;
}

QStringList TIniFile::ReadSectionValues(const QString& section) const
{
    QStringList lines;
    for (const QString& name : ReadSection(section))
        lines.append(name + QLatin1Char('=') + ReadString(section, name, QString()));
    return lines;
}

void TIniFile::WriteSectionValues(const QString& section, const QStringList& lines)
{
    const QString sectionName = CheckedSectionName(section);
    TSection replacement{sectionName, {}};
    for (const QString& line : lines) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals >= 0)
            SetEntry(replacement, CheckedValueName(line.left(equals)), line.mid(equals + 1));
    }
    Load();
    if (TSection* found = FindSection(sectionName)) {
        // The blank lines that closed the section keep it apart from the next one.
        for (qsizetype i = TrailingBlankStart(*found); i < found->Entries.size(); ++i)
            replacement.Entries.append(found->Entries.at(i));
        replacement.Name = found->Name;
        *found = replacement;
        const qsizetype index = found - FSections.data();
        for (qsizetype i = FSections.size() - 1; i > index; --i) {
            if (FSections.at(i).Name.compare(sectionName, Qt::CaseInsensitive) == 0)
                FSections.removeAt(i);
        }
    } else {
        AddSection(sectionName).Entries = replacement.Entries;
    }
    Save();
}

void TIniFile::EraseSection(const QString& section)
{
    Load();
    const QString trimmed = section.trimmed();
    const auto removed = FSections.removeIf(
        [&](const TSection& s) { return s.Name.compare(trimmed, Qt::CaseInsensitive) == 0; });
    if (removed > 0)
        Save();
}

void TIniFile::DeleteKey(const QString& section, const QString& ident)
{
    Load();
    TSection* found = FindSection(section);
    if (!found)
        return;
    const QString trimmed = ident.trimmed();
    const auto removed = found->Entries.removeIf([&](const TEntry& entry) {
        return !entry.Name.isEmpty() && entry.Name.compare(trimmed, Qt::CaseInsensitive) == 0;
    });
    if (removed > 0)
        Save();
}

} // namespace orvo
