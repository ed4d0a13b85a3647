#pragma once

#include "grid/settings/settingsenums.h"
#include "platform/core/tpersistent.h"

#include <QPointer>
#include <QStringList>

#include <memory>

namespace orvo {

class TCustomIniFile;
class TOrvoCustomDBGrid;

/// The registry key grid layouts are stored under unless a grid names its own; while
/// it keeps this initial value, its last part becomes the program's name (ExeName).
/// A program may change it before its grids load.
QString& DefaultRegistryKey();
/// The INI file grid layouts are stored in unless a grid names its own; empty (the
/// initial value) stands for the program's path with ".ini".
QString& DefaultIniFileName();
/// The initial value of DefaultRegistryKey.
QString InitialRegistryKey();

/// What a grid remembers of what the user changed in it, as a list of "Name=Value"
/// lines (the layout), and where it keeps that list: a section of its own (by default
/// "Form.Grid") in the per-user registry or in an INI file. With Active the grid loads
/// the layout when its columns come into being and saves it when they go away; the
/// host may also load, save, erase, or read and write the lines itself, and add its
/// own lines through the grid's OnLayout.
class TOrvoDBGridSettings : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
    Q_PROPERTY(bool ExeName READ ExeName WRITE SetExeName)
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
    Q_PROPERTY(bool IniFile READ IniFile WRITE SetIniFile)
    Q_PROPERTY(QStringList Layout READ Layout WRITE SetLayout STORED false)
    Q_PROPERTY(orvo::TOrvoSettingsOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(QString Section READ Section WRITE SetSection)

public:
    static constexpr TOrvoSettingsOptions DefaultOptions{soLoadLayout, soSaveLayout};

    /// `grid` owns the settings and is what the layout describes; it may be null for
    /// free-standing settings, whose layout then holds only the lines of its own.
    explicit TOrvoDBGridSettings(TOrvoCustomDBGrid* grid);
    ~TOrvoDBGridSettings() override;

    TOrvoCustomDBGrid* Grid() const;

    bool Active() const { return FActive; }
    void SetActive(bool value) { FActive = value; }
    bool ExeName() const { return FExeName; }
    void SetExeName(bool value) { FExeName = value; }
    /// The registry key or INI file; empty stands for DefaultStorageName.
    QString FileName() const { return FFileName; }
    void SetFileName(const QString& value) { FFileName = value; }
    bool IniFile() const { return FIniFile; }
    void SetIniFile(bool value) { FIniFile = value; }
    TOrvoSettingsOptions Options() const { return FOptions; }
    void SetOptions(TOrvoSettingsOptions value) { FOptions = value; }
    /// The registry subkey or INI section of this grid: DefaultSection unless set apart.
    QString Section() const;
    /// Assigning DefaultSection's value clears the section set apart.
    void SetSection(const QString& value);
    /// Only a section set apart from DefaultSection is stored with the form.
    Q_INVOKABLE bool IsSectionStored() const { return !FSection.isEmpty(); }

    /// The lines of the grid's current state (BuildLayout).
    QStringList Layout();
    /// Applies the lines given (ApplyLayout).
    void SetLayout(const QStringList& lines);

    /// The INI file or registry key used when FileName is empty.
    QString DefaultStorageName() const;
    /// "Form.Grid" for a named grid in a named form, the grid's name alone in an
    /// unnamed one, empty for an unnamed grid.
    QString DefaultSection() const;
    /// The storage FileName (or DefaultStorageName) names, as IniFile chooses.
    QString StorageName() const;

    /// Rebuilds the held lines from the grid's state and returns them.
    const QStringList& BuildLayout();
    /// Applies `lines` (null: the lines held) to the grid.
    void ApplyLayout(const QStringList* lines = nullptr);
    /// The lines last built, read or applied.
    const QStringList& LayoutLines() const { return FLayout; }

    // Storage operations. Each works on `storage` when given and otherwise opens the
    // configured storage for the time of the call; each does nothing while the
    // section is empty. Storage errors propagate to the caller.
    /// Replaces the held lines by the stored ones (none when nothing is stored).
    void ReadLayout(TCustomIniFile* storage = nullptr);
    /// Replaces the stored lines by the held ones.
    void WriteLayout(TCustomIniFile* storage = nullptr);
    void LoadSettings(TCustomIniFile* storage = nullptr);
    void SaveSettings(TCustomIniFile* storage = nullptr);
    void EraseSettings(TCustomIniFile* storage = nullptr);
    bool SettingsExist(TCustomIniFile* storage = nullptr);

    /// The loading the grid does when its columns come into being; with
    /// soUserSettings the stored switches decide whether it loads.
    virtual void AutoLoad();
    /// The saving the grid does when its columns go away; with soUserSettings and
    /// saving switched off only the two stored switches are brought up to date.
    virtual void AutoSave();
    /// Opens the configured storage: an INI file or the registry key, as IniFile says.
    virtual std::unique_ptr<TCustomIniFile> OpenStorage() const;
    /// Fires the grid's OnLayout at the end of every build (`apply` false) and every
    /// apply of the layout.
    virtual void DoLayout(QStringList& layout, bool apply);

    /// Copies every published value.
    void Assign(const TPersistent* source) override;

    /// The value of line `name` (ignoring case) in `lines`; `found` tells whether it is there.
    static QString LayoutValue(const QStringList& lines, const QString& name, bool* found = nullptr);
    /// The value as an integer; `defaultValue` when missing or not a number.
    static int LayoutInteger(const QStringList& lines, const QString& name, int defaultValue);
    /// Sets line `name` to `value`, appending it when missing.
    static void SetLayoutValue(QStringList& lines, const QString& name, const QString& value);

private:
    /// Runs `action` on `storage`, or on the configured storage opened for the call.
    template <typename F> auto WithStorage(TCustomIniFile* storage, F action);
    void AddUserSettingLines();
    void AddGridLines();
    void AddFilterLines();
    void ApplyGridLines();
    void ApplyFilterLines();
    /// Whether line `name` switches its option on: exactly when it holds 1, with
    /// `current` standing in for a missing or malformed value.
    bool LayoutSwitch(const QString& name, bool current) const;

    QPointer<TOrvoCustomDBGrid> FGrid;
    bool FActive = false;
    bool FExeName = true;
    QString FFileName;
    bool FIniFile = false;
    TOrvoSettingsOptions FOptions = DefaultOptions;
    QString FSection;
    QStringList FLayout;
};

} // namespace orvo
