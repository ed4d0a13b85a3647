#include "grid/settings/torvodbgridsettings.h"

#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/filter/torvodbgridfilter.h"
#include "platform/core/tinifile.h"
#include "platform/core/tregistryinifile.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace orvo {

namespace {

const QString ProgramNamePlaceholder = QStringLiteral("OrvoDBGrid");

QString BoolText(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

QString Line(const QString& name, const QString& value)
{
    return name + QLatin1Char('=') + value;
}

} // namespace

QString InitialRegistryKey()
{
    return QStringLiteral("\\Software\\Orvo Software\\OrvoDBGrid");
}

QString& DefaultRegistryKey()
{
    static QString key = InitialRegistryKey();
    return key;
}

QString& DefaultIniFileName()
{
    static QString fileName;
    return fileName;
}

TOrvoDBGridSettings::TOrvoDBGridSettings(TOrvoCustomDBGrid* grid) : TPersistent(grid), FGrid(grid) {}

TOrvoDBGridSettings::~TOrvoDBGridSettings() = default;

TOrvoCustomDBGrid* TOrvoDBGridSettings::Grid() const
{
    return FGrid;
}

QString TOrvoDBGridSettings::DefaultStorageName() const
{
    const QString program = QCoreApplication::applicationFilePath();
    if (FIniFile) {
        if (!DefaultIniFileName().isEmpty())
            return DefaultIniFileName();
        const QFileInfo info(program);
        const QString base = info.suffix().isEmpty() ? program : program.chopped(info.suffix().size() + 1);
        return base + QStringLiteral(".ini");
    }
    QString key = DefaultRegistryKey();
    if (FExeName && key == InitialRegistryKey()) {
        const qsizetype at = key.indexOf(ProgramNamePlaceholder);
        key.replace(at, ProgramNamePlaceholder.size(), QFileInfo(program).completeBaseName());
    }
    return key;
}

QString TOrvoDBGridSettings::DefaultSection() const
{
    if (!FGrid || FGrid->objectName().isEmpty())
        return QString();
    // The form is the grid's window; a grid that is its own window has no owner.
    const QWidget* form = FGrid->window();
    if (form && form != FGrid && !form->objectName().isEmpty())
        return form->objectName() + QLatin1Char('.') + FGrid->objectName();
    return FGrid->objectName();
}

QString TOrvoDBGridSettings::Section() const
{
    return FSection.isEmpty() ? DefaultSection() : FSection;
}

void TOrvoDBGridSettings::SetSection(const QString& value)
{
    FSection = value == DefaultSection() ? QString() : value;
}

QString TOrvoDBGridSettings::StorageName() const
{
    return FFileName.isEmpty() ? DefaultStorageName() : FFileName;
}

std::unique_ptr<TCustomIniFile> TOrvoDBGridSettings::OpenStorage() const
{
    if (FIniFile)
        return std::make_unique<TIniFile>(StorageName());
    return std::make_unique<TRegistryIniFile>(StorageName());
}

template <typename F> auto TOrvoDBGridSettings::WithStorage(TCustomIniFile* storage, F action)
{
    std::unique_ptr<TCustomIniFile> opened;
    if (!storage) {
        opened = OpenStorage();
        storage = opened.get();
    }
    return action(*storage);
}

QStringList TOrvoDBGridSettings::Layout()
{
    return BuildLayout();
}

void TOrvoDBGridSettings::SetLayout(const QStringList& lines)
{
    ApplyLayout(&lines);
}

// --- Layout lines -----------------------------------------------------------------------------

QString TOrvoDBGridSettings::LayoutValue(const QStringList& lines, const QString& name, bool* found)
{
    for (const QString& line : lines) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals >= 0 && QStringView(line).left(equals).compare(name, Qt::CaseInsensitive) == 0) {
            if (found)
                *found = true;
            return line.mid(equals + 1);
        }
    }
    if (found)
        *found = false;
    return QString();
}

int TOrvoDBGridSettings::LayoutInteger(const QStringList& lines, const QString& name, int defaultValue)
{
    bool ok = false;
    const int value = LayoutValue(lines, name).trimmed().toInt(&ok);
    return ok ? value : defaultValue;
}

void TOrvoDBGridSettings::SetLayoutValue(QStringList& lines, const QString& name, const QString& value)
{
    for (QString& line : lines) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals >= 0 && QStringView(line).left(equals).compare(name, Qt::CaseInsensitive) == 0) {
            line = Line(line.left(equals), value);
            return;
        }
    }
    lines.append(Line(name, value));
}

bool TOrvoDBGridSettings::LayoutSwitch(const QString& name, bool current) const
{
    return LayoutInteger(FLayout, name, current ? 1 : 0) == 1;
}

void TOrvoDBGridSettings::AddUserSettingLines()
{
    if (!FOptions.Contains(soUserSettings))
        return;
    FLayout << Line(QStringLiteral("AutoLoadLayout"), BoolText(FOptions.Contains(soLoadLayout)))
            << Line(QStringLiteral("AutoSaveLayout"), BoolText(FOptions.Contains(soSaveLayout)));
}

void TOrvoDBGridSettings::AddGridLines()
{
    if (!FGrid)
        return;
    if (FOptions.Contains(soOrderFields))
        FLayout << Line(QStringLiteral("OrderFields"), FGrid->OrderFields());
    if (FOptions.Contains(soLinesCount))
        FLayout << Line(QStringLiteral("LinesCount"), QString::number(FGrid->LinesCount()));
    if (FOptions.Contains(soMultiSelect))
        FLayout << Line(QStringLiteral("MultiSelect"), BoolText(FGrid->Options().Contains(dgMultiSelect)));
    if (FOptions.Contains(soSelectedRow))
        FLayout << Line(QStringLiteral("SelectedRow"),
                        BoolText(FGrid->DrawingOptions().Contains(gdoSelectedRow)));
    if (FOptions.Contains(soStripedRows))
        FLayout << Line(QStringLiteral("StripedRows"),
                        BoolText(FGrid->DrawingOptions().Contains(gdoStripedRows)));
}

void TOrvoDBGridSettings::AddFilterLines()
{
    if (!FGrid)
        return;
    TOrvoDBGridFilter* filter = FGrid->FilterGrid();
    if (FOptions.Contains(soAutoFilter))
        FLayout << Line(QStringLiteral("AutoFilter"), BoolText(filter->AutoFilter()));
    if (FOptions.Contains(soFiltered))
        FLayout << Line(QStringLiteral("Filtered"), BoolText(filter->Filtered()));
    if (FOptions.Contains(soFilters))
        FLayout << filter->Settings();
}

const QStringList& TOrvoDBGridSettings::BuildLayout()
{
    FLayout.clear();
    AddUserSettingLines();
    if (FGrid)
        FLayout << FGrid->Columns()->BuildColumnsLayout();
    AddGridLines();
    AddFilterLines();
    DoLayout(FLayout, false);
    return FLayout;
}

void TOrvoDBGridSettings::ApplyGridLines()
{
    if (!FGrid)
        return;
    if (FOptions.Contains(soOrderFields)) {
        bool found = false;
        const QString order = LayoutValue(FLayout, QStringLiteral("OrderFields"), &found);
        // A layout without the line leaves the grid's order alone.
        if (found)
            FGrid->SetOrderFields(order);
    }
    if (FOptions.Contains(soLinesCount))
        FGrid->SetLinesCount(LayoutInteger(FLayout, QStringLiteral("LinesCount"), FGrid->LinesCount()));
    if (FOptions.Contains(soMultiSelect)) {
        TOrvoDBGridOptions options = FGrid->Options();
        if (LayoutSwitch(QStringLiteral("MultiSelect"), options.Contains(dgMultiSelect)))
            options.Include(dgMultiSelect);
        else
            options.Exclude(dgMultiSelect);
        FGrid->SetOptions(options);
    }
    // Through the property, so that the option's colour follows as when the user switches it.
    const auto applyDrawingOption = [this](const QString& name, TGridDrawingOption option) {
        TGridDrawingOptions options = FGrid->DrawingOptions();
        if (LayoutSwitch(name, options.Contains(option)))
            options.Include(option);
        else
            options.Exclude(option);
        FGrid->SetDrawingOptions(options);
    };
    if (FOptions.Contains(soSelectedRow))
        applyDrawingOption(QStringLiteral("SelectedRow"), gdoSelectedRow);
    if (FOptions.Contains(soStripedRows))
        applyDrawingOption(QStringLiteral("StripedRows"), gdoStripedRows);
}

void TOrvoDBGridSettings::ApplyFilterLines()
{
    if (!FGrid)
        return;
    TOrvoDBGridFilter* filter = FGrid->FilterGrid();
    if (FOptions.Contains(soAutoFilter))
        filter->SetAutoFilter(LayoutSwitch(QStringLiteral("AutoFilter"), filter->AutoFilter()));
    if (FOptions.Contains(soFiltered))
        filter->SetFiltered(LayoutSwitch(QStringLiteral("Filtered"), filter->Filtered()));
    if (FOptions.Contains(soFilters))
        filter->SetSettings(FLayout);
}

void TOrvoDBGridSettings::ApplyLayout(const QStringList* lines)
{
    if (lines && lines != &FLayout)
        FLayout = *lines;
    if (FGrid)
        FGrid->Columns()->ApplyColumnsLayout(FLayout);
    ApplyGridLines();
    ApplyFilterLines();
    DoLayout(FLayout, true);
}

void TOrvoDBGridSettings::DoLayout(QStringList& layout, bool apply)
{
    if (FGrid && FGrid->OnLayout)
        FGrid->OnLayout(FGrid, layout, apply);
}

// --- Storage ------------------------------------------------------------------------------------

void TOrvoDBGridSettings::ReadLayout(TCustomIniFile* storage)
{
    FLayout.clear();
    const QString section = Section();
    if (section.isEmpty())
        return;
    WithStorage(storage, [&](TCustomIniFile& ini) {
        if (ini.SectionExists(section))
            FLayout = ini.ReadSectionValues(section);
    });
}

void TOrvoDBGridSettings::WriteLayout(TCustomIniFile* storage)
{
    const QString section = Section();
    if (section.isEmpty())
        return;
    WithStorage(storage, [&](TCustomIniFile& ini) { ini.WriteSectionValues(section, FLayout); });
}

void TOrvoDBGridSettings::LoadSettings(TCustomIniFile* storage)
{
    ReadLayout(storage);
    ApplyLayout(nullptr);
}

void TOrvoDBGridSettings::SaveSettings(TCustomIniFile* storage)
{
    BuildLayout();
    WriteLayout(storage);
}

void TOrvoDBGridSettings::EraseSettings(TCustomIniFile* storage)
{
    const QString section = Section();
    if (section.isEmpty())
        return;
    WithStorage(storage, [&](TCustomIniFile& ini) {
        if (ini.SectionExists(section))
            ini.EraseSection(section);
    });
}

bool TOrvoDBGridSettings::SettingsExist(TCustomIniFile* storage)
{
    const QString section = Section();
    if (section.isEmpty())
        return false;
    return WithStorage(storage, [&](TCustomIniFile& ini) { return ini.SectionExists(section); });
}

void TOrvoDBGridSettings::AutoLoad()
{
    if (FGrid && FGrid->IsDesigning())
        return;
    if (!FOptions.Contains(soUserSettings)) {
        if (FOptions.Contains(soLoadLayout))
            LoadSettings();
        return;
    }
    ReadLayout();
    const auto storedSwitch = [this](const QString& name, TOrvoSettingsOption option) {
        if (LayoutInteger(FLayout, name, FOptions.Contains(option) ? 1 : 0) != 0)
            FOptions.Include(option);
        else
            FOptions.Exclude(option);
    };
    storedSwitch(QStringLiteral("AutoLoadLayout"), soLoadLayout);
    storedSwitch(QStringLiteral("AutoSaveLayout"), soSaveLayout);
    if (FOptions.Contains(soLoadLayout))
        ApplyLayout(nullptr);
}

void TOrvoDBGridSettings::AutoSave()
{
    if (FGrid && FGrid->IsDesigning())
        return;
    if (!FOptions.Contains(soUserSettings) || FOptions.Contains(soSaveLayout)) {
        if (FOptions.Contains(soSaveLayout))
            SaveSettings();
        return;
    }
    // Saving is switched off: the stored layout stays, only the switches follow the user.
    const QString section = Section();
    if (section.isEmpty())
        return;
    const std::unique_ptr<TCustomIniFile> storage = OpenStorage();
    ReadLayout(storage.get());
    SetLayoutValue(FLayout, QStringLiteral("AutoLoadLayout"), BoolText(FOptions.Contains(soLoadLayout)));
    SetLayoutValue(FLayout, QStringLiteral("AutoSaveLayout"), BoolText(FOptions.Contains(soSaveLayout)));
    WriteLayout(storage.get());
}

void TOrvoDBGridSettings::Assign(const TPersistent* source)
{
    const auto* settings = qobject_cast<const TOrvoDBGridSettings*>(source);
    if (!settings) {
        TPersistent::Assign(source);
        return;
    }
    FActive = settings->FActive;
    FExeName = settings->FExeName;
    FFileName = settings->FFileName;
    FIniFile = settings->FIniFile;
    FOptions = settings->FOptions;
    FSection = settings->FSection;
}

} // namespace orvo
