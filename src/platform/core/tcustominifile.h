#pragma once

#include <QString>
#include <QStringList>

namespace orvo {

/// Sections of named string values, whatever keeps them: an INI file (TIniFile) or the
/// per-user registry tree (TRegistryIniFile). Section and value names compare without
/// regard to case. Reads of what is missing give the default; writes that cannot be
/// kept raise, so that a caller never takes a lost value for a stored one.
class TCustomIniFile
{
public:
    explicit TCustomIniFile(const QString& fileName) : FFileName(fileName) {}
    virtual ~TCustomIniFile() = default;
    TCustomIniFile(const TCustomIniFile&) = delete;
    TCustomIniFile& operator=(const TCustomIniFile&) = delete;

    /// The file or registry key the values live in.
    const QString& FileName() const { return FFileName; }

    virtual QString ReadString(const QString& section, const QString& ident,
                               const QString& defaultValue) const = 0;
    virtual void WriteString(const QString& section, const QString& ident, const QString& value) = 0;
    /// The value names of a section, in stored order.
    virtual QStringList ReadSection(const QString& section) const = 0;
    virtual QStringList ReadSections() const = 0;
    /// The section's values as "Name=Value" lines, in stored order.
    virtual QStringList ReadSectionValues(const QString& section) const = 0;
    /// Replaces the section's values by the "Name=Value" lines given, in one write; a
    /// line without "=" names no value and is left out, a name given twice keeps the
    /// later value.
    virtual void WriteSectionValues(const QString& section, const QStringList& lines) = 0;
    virtual void EraseSection(const QString& section) = 0;
    virtual void DeleteKey(const QString& section, const QString& ident) = 0;
    virtual bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& ident) const;

    /// The value as a decimal or "$" hexadecimal integer; the default when it is
    /// missing or not a number.
    int ReadInteger(const QString& section, const QString& ident, int defaultValue) const;
    void WriteInteger(const QString& section, const QString& ident, int value);
    /// Any number but 0 reads as true.
    bool ReadBool(const QString& section, const QString& ident, bool defaultValue) const;
    void WriteBool(const QString& section, const QString& ident, bool value);

private:
    QString FFileName;
};

} // namespace orvo
