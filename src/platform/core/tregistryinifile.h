#pragma once

#include "platform/core/tcustominifile.h"

namespace orvo {

/// The per-user registry, opened on one key, seen as an INI file: each section is a
/// subkey and each value a string value of that subkey. The registry itself is a tree
/// of INI files under the per-user configuration folder: a key path such as
/// "\Software\Maker\Program\Form1.Grid1" keeps its values in the file
/// "<config>/OrvoRegistry/HKEY_CURRENT_USER/Software/Maker/Program/Form1.Grid1.ini" and
/// its subkeys in the folder beside it of the same name. Key names compare without
/// regard to case, as registry keys do; a name that would leave its folder ("..", "/")
/// is stored escaped, so that no key reaches outside the tree.
class TRegistryIniFile : public TCustomIniFile
{
public:
    /// `keyPath` is the key under the per-user root, its parts separated by "\".
    explicit TRegistryIniFile(const QString& keyPath);

    /// The folder that stands for the per-user root key.
    static QString RootPath();
    /// The folder that holds the key's subkeys.
    QString KeyFolder() const;
    /// The file that holds the values of the subkey `section`.
    QString SectionFile(const QString& section) const;

    QString ReadString(const QString& section, const QString& ident,
                       const QString& defaultValue) const override;
    void WriteString(const QString& section, const QString& ident, const QString& value) override;
    QStringList ReadSection(const QString& section) const override;
    /// The key's subkeys.
    QStringList ReadSections() const override;
    QStringList ReadSectionValues(const QString& section) const override;
    void WriteSectionValues(const QString& section, const QStringList& lines) override;
    /// Deletes the subkey with all of its own subkeys.
    void EraseSection(const QString& section) override;
    void DeleteKey(const QString& section, const QString& ident) override;
    bool SectionExists(const QString& section) const override;

    /// A key name as it is stored in a file name, and back.
    static QString EncodeKeyName(const QString& name);
    static QString DecodeKeyName(const QString& stored);

private:
    /// The folder or file that stands for `name` in `folder`: an existing entry that
    /// differs only in case, else the name as given.
    static QString EntryPath(const QString& folder, const QString& name, const QString& suffix);
    /// Raises for a section that names no subkey.
    static void CheckSection(const QString& section);

    QString FKeyFolder;
};

} // namespace orvo
