#include "platform/core/tregistryinifile.h"

#include "platform/core/exceptions.h"
#include "platform/core/tinifile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace orvo {

namespace {

const QString IniSuffix = QStringLiteral(".ini");

bool IsValidSection(const QString& section)
{
    const QString trimmed = section.trimmed();
    return !trimmed.isEmpty() && !trimmed.contains(QLatin1Char('\\'));
}

} // namespace

TRegistryIniFile::TRegistryIniFile(const QString& keyPath) : TCustomIniFile(keyPath)
{
    QString folder = RootPath();
    for (const QString& part : keyPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts))
        folder = EntryPath(folder, part, QString());
    FKeyFolder = folder;
}

QString TRegistryIniFile::RootPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("OrvoRegistry/HKEY_CURRENT_USER"));
}

QString TRegistryIniFile::KeyFolder() const
{
    return FKeyFolder;
}

QString TRegistryIniFile::EncodeKeyName(const QString& name)
{
    const QString trimmed = name.trimmed();
    if (!trimmed.isEmpty() && trimmed.count(QLatin1Char('.')) == trimmed.size())
        return QString(trimmed).replace(QLatin1Char('.'), QLatin1String("%2E"));
    return QString(trimmed)
        .replace(QLatin1Char('%'), QLatin1String("%25"))
        .replace(QLatin1Char('/'), QLatin1String("%2F"));
}

QString TRegistryIniFile::DecodeKeyName(const QString& stored)
{
    return QUrl::fromPercentEncoding(stored.toUtf8());
}

QString TRegistryIniFile::EntryPath(const QString& folder, const QString& name, const QString& suffix)
{
    const QString stored = EncodeKeyName(name) + suffix;
    const QDir dir(folder);
    const QDir::Filters filter = suffix.isEmpty() ? QDir::Dirs | QDir::NoDotAndDotDot : QDir::Files;
    for (const QString& entry : dir.entryList(filter | QDir::Hidden)) {
        if (entry.compare(stored, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return dir.filePath(stored);
}

void TRegistryIniFile::CheckSection(const QString& section)
{
    if (!IsValidSection(section))
        throw EInvalidOperation(QStringLiteral("Invalid registry key name \"%1\"").arg(section));
}

QString TRegistryIniFile::SectionFile(const QString& section) const
{
    return EntryPath(FKeyFolder, section, IniSuffix);
}

QString TRegistryIniFile::ReadString(const QString& section, const QString& ident,
                                     const QString& defaultValue) const
{
    if (!IsValidSection(section))
        return defaultValue;
    return TIniFile(SectionFile(section)).ReadString(section, ident, defaultValue);
}

void TRegistryIniFile::WriteString(const QString& section, const QString& ident, const QString& value)
{
    CheckSection(section);
    TIniFile(SectionFile(section)).WriteString(section, ident, value);
}

QStringList TRegistryIniFile::ReadSection(const QString& section) const
{
    if (!IsValidSection(section))
        return {};
    return TIniFile(SectionFile(section)).ReadSection(section);
}

QStringList TRegistryIniFile::ReadSections() const
{
    QStringList names;
    const QDir dir(FKeyFolder);
    for (const QFileInfo& entry : dir.entryInfoList(
             QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name | QDir::IgnoreCase)) {
        QString stored = entry.fileName();
        if (entry.isFile()) {
            if (!stored.endsWith(IniSuffix, Qt::CaseInsensitive))
                continue;
            stored.chop(IniSuffix.size());
        }
        const QString name = DecodeKeyName(stored);
        if (!names.contains(name, Qt::CaseInsensitive))
            names.append(name);
    }
    return names;
}

QStringList TRegistryIniFile::ReadSectionValues(const QString& section) const
{
    if (!IsValidSection(section))
        return {};
    return TIniFile(SectionFile(section)).ReadSectionValues(section);
}

void TRegistryIniFile::WriteSectionValues(const QString& section, const QStringList& lines)
{
    CheckSection(section);
    TIniFile(SectionFile(section)).WriteSectionValues(section, lines);
}

void TRegistryIniFile::EraseSection(const QString& section)
{
    if (!IsValidSection(section))
        return;
    const QString file = SectionFile(section);
    if (QFileInfo::exists(file) && !QFile::remove(file))
        throw EStreamError(QStringLiteral("Cannot delete the registry key \"%1\"").arg(section));
    QDir subkeys(EntryPath(FKeyFolder, section, QString()));
    if (subkeys.exists() && !subkeys.removeRecursively())
        throw EStreamError(QStringLiteral("Cannot delete the registry key \"%1\"").arg(section));
}

void TRegistryIniFile::DeleteKey(const QString& section, const QString& ident)
{
    if (!IsValidSection(section))
        return;
    const QString file = SectionFile(section);
    if (QFileInfo::exists(file))
        TIniFile(file).DeleteKey(section, ident);
}

bool TRegistryIniFile::SectionExists(const QString& section) const
{
    if (!IsValidSection(section))
        return false;
    return QFileInfo::exists(SectionFile(section)) ||
           QFileInfo(EntryPath(FKeyFolder, section, QString())).isDir();
}

} // namespace orvo
