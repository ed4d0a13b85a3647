#pragma once

#include "platform/core/tcustominifile.h"

#include <QList>

namespace orvo {

/// An INI file kept as a person would keep it: sections and values stay in their
/// order, comments and blank lines stay where they are, new values join the end of
/// their section, and names compare without regard to case. Every change rewrites the
/// file atomically (a reader sees the old file or the new one, never half of it),
/// after reading it again so that changes made meanwhile by others are kept.
///
/// Values are written as they are unless reading them back would change them: a
/// value with a line break, surrounding blanks or a leading double quote is written
/// in double quotes, with backslashes and line breaks escaped (\\, \n, \r). A quoted
/// value reads back without its quotes, as hand-written INI files expect.
class TIniFile : public TCustomIniFile
{
public:
    /// Reads the file; a missing file is an empty one. A bare name (no folder) lives in
    /// the per-user configuration folder, where the platform keeps bare INI names.
    explicit TIniFile(const QString& fileName);

    QString ReadString(const QString& section, const QString& ident,
                       const QString& defaultValue) const override;
    void WriteString(const QString& section, const QString& ident, const QString& value) override;
    QStringList ReadSection(const QString& section) const override;
    QStringList ReadSections() const override;
    QStringList ReadSectionValues(const QString& section) const override;
    void WriteSectionValues(const QString& section, const QStringList& lines) override;
    void EraseSection(const QString& section) override;
    void DeleteKey(const QString& section, const QString& ident) override;

    /// The file's path after the bare-name rule.
    static QString ResolveFileName(const QString& fileName);
    /// How a value is written, and how a written value reads back.
    static QString EncodeValue(const QString& value);
    static QString DecodeValue(const QString& text);

private:
    struct TEntry
    {
        QString Name;  // empty for a comment, a blank or any other line kept as written
        QString Value; // the value, or the line as written
    };
    struct TSection
    {
        QString Name;
        QList<TEntry> Entries;
    };

    void Load();
    void Save() const;
    QByteArray Serialize() const;
    const TSection* FindSection(const QString& name) const;
    TSection* FindSection(const QString& name);
    TSection& AddSection(const QString& name);
    static const TEntry* FindEntry(const TSection& section, const QString& name);
    /// Sets a value in memory; false when it held that value already.
    static bool SetEntry(TSection& section, const QString& name, const QString& value);
    static bool IsBlankEntry(const TEntry& entry);
    /// Where the blank lines that close a section begin.
    static qsizetype TrailingBlankStart(const TSection& section);
    static QString CheckedSectionName(const QString& name);
    static QString CheckedValueName(const QString& name);

    QList<TEntry> FPreamble; // lines before the first section
    QList<TSection> FSections;
};

} // namespace orvo
