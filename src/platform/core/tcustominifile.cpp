#include "platform/core/tcustominifile.h"

namespace orvo {

bool TCustomIniFile::SectionExists(const QString& section) const
{
    return ReadSections().contains(section, Qt::CaseInsensitive);
}

bool TCustomIniFile::ValueExists(const QString& section, const QString& ident) const
{
    return ReadSection(section).contains(ident.trimmed(), Qt::CaseInsensitive);
}

int TCustomIniFile::ReadInteger(const QString& section, const QString& ident, int defaultValue) const
{
    const QString text = ReadString(section, ident, QString()).trimmed();
    bool ok = false;
    const int value = text.startsWith(QLatin1Char('$')) ? text.mid(1).toInt(&ok, 16) : text.toInt(&ok);
    return ok ? value : defaultValue;
}

void TCustomIniFile::WriteInteger(const QString& section, const QString& ident, int value)
{
    WriteString(section, ident, QString::number(value));
}

bool TCustomIniFile::ReadBool(const QString& section, const QString& ident, bool defaultValue) const
{
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const QString& section, const QString& ident, bool value)
{
    WriteString(section, ident, value ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace orvo
